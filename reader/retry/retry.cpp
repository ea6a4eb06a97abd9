#include "reader/retry/retry.h"

#include "framework/errors.h"
#include "framework/values.h"
#include "reader/retry/hynix.h"
#include "reader/retry/micron.h"
#include "reader/retry/samsung.h"
#include "reader/retry/sandisk.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

std::uint8_t Register_Value(const Register& reg) {
    if (!reg.is_set) throw ZEKT_Exception(L"Bug - using empty RR register");
    return reg.value;
}

const Register& Parameter(const Reader_Setup& setup, std::size_t i) {
    if (i >= setup.retry_parameters.size()) throw ZEKT_Exception_Bug(L"Too few retry parameters");
    return setup.retry_parameters[i];
}

void Set_Register_Pairs(Assembler_Code& code, const Reader_Setup& setup, const std::vector<std::uint8_t>& addresses) {
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const Register& reg = Parameter(setup, i);
        if (!reg.is_set) continue;
        code.Addr_Step(addresses[i]);
        code.Data_Step(reg.value);
    }
}

const ZEKT_Fab_Registry<Base>& Registry() {
    static const ZEKT_Fab_Registry<Base> registry = [] {
        ZEKT_Fab_Registry<Base> r;
        r.Add<Micron>(L"Micron");
        r.Add<Micron_v2>(L"Micron v2");
        r.Add<Samsung_v1>(L"Samsung v1");
        r.Add<Samsung_v3>(L"Samsung v3");
        r.Add<Sandisk_v1>(L"Sandisk v1");
        r.Add<Sandisk_v2>(L"Sandisk v2");
        r.Add<Sandisk_v3>(L"Sandisk v3");
        r.Add<Hynix_v1>(L"Hynix v1");
        r.Add<Hynix_v2>(L"Hynix v2");
        r.Add<Hynix_v3>(L"Hynix v3");
        r.Add<Hynix_v4>(L"Hynix v4");
        r.Add<Hynix_v5>(L"Hynix v5");
        r.Add<Hynix_v6>(L"Hynix v6");
        r.Add<Hynix_v7>(L"Hynix v7");
        return r;
    }();
    return registry;
}

std::unique_ptr<Base> Create_Retry(const std::wstring& name) {
    if (name.empty()) return std::make_unique<No>();
    ZEKT_Holder<Base> holder;
    if (!Registry().Create(name, holder)) throw ZEKT_Exception(L"Unknown Retry type");
    return std::unique_ptr<Base>(holder.Release());
}

namespace {

Register Parse_Register(const std::wstring& token) {
    if (token == L"--") return {};
    // Register values are written in hexadecimal without a prefix; a token
    // that brings its own "0x" fails the conversion on purpose. More than two
    // significant digits is too large, however long; leading zeros are fine.
    const std::size_t digits = token.size() - std::min(token.find_first_not_of(L'0'), token.size());
    const bool hex_digits_only = token.find_first_not_of(L"0123456789abcdefABCDEF") == std::wstring::npos;
    if (hex_digits_only && digits > 2) throw ZEKT_Exception(L"Retry Register value > 0xff");
    return {static_cast<std::uint8_t>(To_Unsigned(L"0x" + token)), true};
}

}  // namespace

void Parse_Retry(const std::wstring& text, std::wstring& name, Register_List& parameters) {
    name.clear();
    parameters.clear();
    std::vector<std::wstring> pieces = Split(text, L"/");
    for (std::wstring& piece : pieces) piece = Trim(piece, L' ');
    if (pieces.size() < 2 || pieces[1].empty()) return;

    const std::uint32_t count = Create_Retry(pieces[0])->Parameter_Count();
    std::vector<std::wstring> tokens = Split(pieces[1], L" ");
    if (tokens.size() != count) throw ZEKT_Exception(Format(L"This Retry command must have %d parameters", count));
    Register_List parsed;
    for (const std::wstring& token : tokens) parsed.push_back(Parse_Register(Trim(token, L' ')));
    name = pieces[0];
    parameters = std::move(parsed);
}

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry
