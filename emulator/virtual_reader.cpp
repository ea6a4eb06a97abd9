#include "emulator/virtual_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "emulator/program.h"
#include "framework/values.h"
#include "reader/assembler.h"
#include "reader/images.h"
#include "reader/listing.h"

namespace Korvane_Emulator {

namespace KI = Korvane_Internal;

namespace {

constexpr std::size_t Self_Test_Bytes = 512;

std::array<std::uint8_t, Self_Test_Bytes> Self_Test_Pattern() {
    // Word i is i * 256 + (255 - i), little-endian: FF 00 FE 01 ...
    std::array<std::uint8_t, Self_Test_Bytes> pattern{};
    for (std::size_t i = 0; i < 256; ++i) {
        pattern[2 * i] = static_cast<std::uint8_t>(255 - i);
        pattern[2 * i + 1] = static_cast<std::uint8_t>(i);
    }
    return pattern;
}

// The 16 upload bytes that carry each image byte: a word per bit, low bit first.
const std::array<std::array<std::uint8_t, 16>, 256>& Byte_Encodings() {
    static const auto table = [] {
        std::array<std::array<std::uint8_t, 16>, 256> words{};
        for (unsigned value = 0; value < 256; ++value)
            for (unsigned bit = 0; bit < 8; ++bit)
                words[value][2 * bit] = words[value][2 * bit + 1] = (value >> bit & 1) ? 0xFF : 0x00;
        return words;
    }();
    return table;
}

// What an upload of image `number` (1 to 4) looks like on the wire, made
// with the table above and kept while the image's bytes stay the same.
std::shared_ptr<const std::vector<std::uint8_t>> Expected_Wire(int number) {
    struct Kept {
        std::vector<std::uint8_t> image;
        std::shared_ptr<const std::vector<std::uint8_t>> wire;
    };
    static std::mutex lock;
    static std::array<Kept, 4> kept;
    std::vector<std::uint8_t> image = KI::Configuration_Image(static_cast<KI::Image>(number));
    const std::lock_guard<std::mutex> hold(lock);
    Kept& entry = kept.at(static_cast<std::size_t>(number) - 1);
    if (entry.wire && image == entry.image) return entry.wire;
    const auto& encodings = Byte_Encodings();
    auto wire = std::make_shared<std::vector<std::uint8_t>>((image.size() - 4) * 16);
    for (std::size_t k = 4; k < image.size(); ++k)
        std::memcpy(wire->data() + (k - 4) * 16, encodings[image[k]].data(), 16);
    entry = {std::move(image), std::move(wire)};
    return entry.wire;
}

std::wstring Volts(std::int64_t hundredths) { return Format(L"%I64d.%02I64d V", hundredths / 100, hundredths % 100); }

}  // namespace

// One open link: the byte streams of one user, in the order the reader takes them.
class Virtual_Link : public KI::Virtual_Device {
public:
    explicit Virtual_Link(Virtual_Reader& board) : reader(board) {}

    bool Write(const std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) override;
    bool Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) override;
    bool Position(std::uint64_t& position) override {
        position = stream_position;
        return true;
    }
    std::wstring Error_Text() override { return error; }
    void Closed() noexcept override {
        reader.link_open = false;
        reader.Event(L"close");
    }

private:
    enum class Stage {
        Upload, Program, Setup, Streaming,
        Adapter_Command, Adapter_Answer, Module_Command, Module_Answer,
        Test_Read_Full, Test_Read_Short, Test_Write, Test_Read_Back, Finished,
    };

    bool Fail(const std::wstring& text) {
        error = text;
        reader.Event(L"fault: " + text);
        return false;
    }
    bool Upload(const std::uint8_t* buffer, std::uint32_t size);
    // Image `number` is in: the stream that image serves comes next.
    bool Accept(int number);
    void Adapter(std::uint8_t command, std::uint8_t argument);
    void Module(std::uint8_t high, std::uint8_t low);
    // A read of the wrong size moves nothing: the host sees a short read.
    bool Exact(std::uint32_t size, std::uint32_t wanted, std::uint32_t& done) {
        if (size == wanted) return true;
        done = 0;
        reader.Event(Format(L"fault: read of %u bytes where %u were due", size, wanted));
        return false;
    }

    Virtual_Reader& reader;
    Stage stage = Stage::Upload;
    std::wstring error = L"Virtual reader refused the transfer";
    std::vector<Program_Step> program;
    std::unique_ptr<Program_Runner> runner;
    std::uint64_t stream_position = 0;
    std::array<std::uint8_t, 4> answer{};
    std::array<std::uint8_t, Self_Test_Bytes> loopback{};
    std::array<std::uint8_t, Self_Test_Bytes> pattern = Self_Test_Pattern();
};

bool Virtual_Link::Upload(const std::uint8_t* buffer, std::uint32_t size) {
    const std::uint32_t count = KI::Image_Bytes;
    if (size != 16 * count - 32) return Fail(Format(L"upload of %u bytes is no configuration image", size));
    // The same image arrives on every reading run: compared whole with the
    // wire form of each known image first, it is taken at memory speed.
    for (int number = 1; number <= 4; ++number)
        if (std::memcmp(buffer, Expected_Wire(number)->data(), size) == 0) return Accept(number);
    // Otherwise every configuration bit must be one 16-bit word 0x0000 or
    // 0xFFFF, and the bits one of the images.
    std::vector<std::uint8_t> bits(count - 2, 0);
    for (std::uint32_t word = 0; word < size / 2; ++word) {
        const std::uint8_t low = buffer[2 * word], high = buffer[2 * word + 1];
        if (low != high || (low != 0x00 && low != 0xFF)) return Fail(Format(L"image word %u is neither 0000 nor FFFF", word));
        if (low) bits[word / 8] |= static_cast<std::uint8_t>(1u << (word % 8));
    }
    for (int number = 1; number <= 4; ++number) {
        const std::vector<std::uint8_t> image = KI::Configuration_Image(static_cast<KI::Image>(number));
        if (std::equal(bits.begin(), bits.end(), image.begin() + 4)) return Accept(number);
    }
    return Fail(L"uploaded image matches none of the four");
}

bool Virtual_Link::Accept(int number) {
    reader.Event(Format(L"upload image %d", number));
    switch (static_cast<KI::Image>(number)) {
    case KI::Image::Self_Test: stage = Stage::Test_Read_Full; break;
    case KI::Image::Power_Adapter: stage = Stage::Adapter_Command; break;
    case KI::Image::Power_Module: stage = Stage::Module_Command; break;
    case KI::Image::Read: stage = Stage::Program; break;
    }
    return true;
}

void Virtual_Link::Adapter(std::uint8_t command, std::uint8_t argument) {
    if (!reader.profile.sim.adapter) {
        answer = {0, 0, 0, 0};  // nothing there to echo
        reader.Event(Format(L"adapter: %02x %02x, no adapter", command, argument));
        return;
    }
    if (command == 0xFF && argument == 0xFF) {
        reader.Supply(0);
        answer = {0xFF, 0xFF, 0, 0};
        reader.Event(L"adapter: off");
        return;
    }
    const std::uint32_t voltage = ((command ^ 0xFFu) & 0x7Fu) * 5 + 80;
    reader.Supply(voltage);
    const std::int64_t measured = std::max<std::int64_t>(0, std::int64_t{voltage} + reader.profile.sim.voltage_offset);
    // The adapter reports 12 bits over 3.30 V; round up so the host's
    // truncating conversion gives the measured value back.
    const auto raw = static_cast<std::uint32_t>(std::min<std::int64_t>(0xFFF, (measured * 4096 + 329) / 330));
    answer = {command, argument, static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw)};
    reader.Event(L"adapter: set " + Volts(voltage) + L", measures " + Volts(measured));
}

void Virtual_Link::Module(std::uint8_t high, std::uint8_t low) {
    const std::uint16_t sent = static_cast<std::uint16_t>(high << 8 | low);
    if (!reader.profile.sim.module) {
        answer = {static_cast<std::uint8_t>(~high), static_cast<std::uint8_t>(~low), 0, 0};
        reader.Event(Format(L"module: %02x %02x, no module", high, low));
        return;
    }
    answer = {high, low, 0, 0};
    reader.module_setting = static_cast<std::uint16_t>(sent ^ 0xFFFF);
    reader.Event(reader.module_setting ? Format(L"module: setting 0x%04x", reader.module_setting) : L"module: off");
}

bool Virtual_Link::Write(const std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) {
    done = 0;
    if (reader.unplugged) return Fail(L"Reader unplugged");
    switch (stage) {
    case Stage::Upload:
        if (!Upload(buffer, size)) return false;
        break;
    case Stage::Program:
        if (size != KI::NAND_Assembler::Code_Bytes) return Fail(Format(L"program of %u bytes", size));
        try {
            program = Decode_Program(buffer, size);
        } catch (const ZEKT_Exception& e) {
            return Fail(e.message);
        }
        {
            std::vector<std::uint16_t> words(size / 2);
            for (std::size_t k = 0; k < words.size(); ++k)
                words[k] = static_cast<std::uint16_t>(buffer[2 * k] | buffer[2 * k + 1] << 8);
            reader.Event(L"program:");
            for (const std::wstring& line : KI::NAND_Assembler::Program_Listing(words)) reader.Event(L"  " + line);
        }
        stage = Stage::Setup;
        break;
    case Stage::Setup: {
        if (size != 32) return Fail(Format(L"setup block of %u bytes", size));
        const Setup_Fields setup = Decode_Setup(buffer);
        reader.Event(Format(L"setup: rows 0x%x-0x%x, transfers %u, flags 0x%02x, chip enable 0x%02x, timing 0x%02x, "
                            L"skips 0x%x/0x%x 0x%x/0x%x",
                            setup.first_row, setup.end_row, setup.transfer_count, setup.flags, setup.chip_enable,
                            setup.timing, setup.skip_mask_1, setup.skip_page_1, setup.skip_mask_2, setup.skip_page_2));
        std::array<Nand_Chip*, 8> lines{};
        for (std::size_t line = 0; line < lines.size(); ++line) lines[line] = reader.chips[line].get();
        runner = std::make_unique<Program_Runner>(std::move(program), setup, lines);
        stage = Stage::Streaming;
        break;
    }
    case Stage::Adapter_Command:
        if (size != 2) return Fail(Format(L"adapter command of %u bytes", size));
        Adapter(buffer[0], buffer[1]);
        stage = Stage::Adapter_Answer;
        break;
    case Stage::Module_Command:
        if (size != 2) return Fail(Format(L"module command of %u bytes", size));
        Module(buffer[0], buffer[1]);
        stage = Stage::Module_Answer;
        break;
    case Stage::Test_Write:
        if (size != Self_Test_Bytes) return Fail(Format(L"self-test write of %u bytes", size));
        std::copy_n(buffer, Self_Test_Bytes, loopback.begin());
        stage = Stage::Test_Read_Back;
        break;
    default:
        return Fail(Format(L"write of %u bytes out of turn", size));
    }
    done = size;
    return true;
}

bool Virtual_Link::Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) {
    done = 0;
    if (reader.unplugged) return Fail(L"Reader unplugged");
    switch (stage) {
    case Stage::Streaming: {
        std::uint32_t allowed = size;
        const auto& limit = reader.profile.sim.unplug_after;
        if (limit && reader.data_bytes + size > *limit)
            allowed = static_cast<std::uint32_t>(*limit > reader.data_bytes ? *limit - reader.data_bytes : 0);
        done = static_cast<std::uint32_t>(runner->Produce(buffer, allowed));
        stream_position += done;
        reader.Deliver(done);
        if (allowed < size) {
            reader.unplugged = true;
            return Fail(Format(L"Reader unplugged after %I64u data bytes", reader.data_bytes));
        }
        if (done < size) reader.Event(Format(L"fault: stream ended after 0x%I64x bytes", stream_position));
        return true;
    }
    case Stage::Adapter_Answer:
        if (!Exact(size, 4, done)) return true;
        std::copy_n(answer.begin(), 4, buffer);
        stage = Stage::Finished;
        break;
    case Stage::Module_Answer:
        if (!Exact(size, 2, done)) return true;
        std::copy_n(answer.begin(), 2, buffer);
        stage = Stage::Finished;
        break;
    case Stage::Test_Read_Full:
        if (!Exact(size, Self_Test_Bytes, done)) return true;
        std::copy(pattern.begin(), pattern.end(), buffer);
        if (reader.profile.sim.self_test_corrupt) buffer[100] ^= 0x04;
        stage = Stage::Test_Read_Short;
        break;
    case Stage::Test_Read_Short:
        if (!Exact(size, 8, done)) return true;
        std::copy_n(pattern.begin(), 8, buffer);
        stage = Stage::Test_Write;
        break;
    case Stage::Test_Read_Back:
        if (!Exact(size, Self_Test_Bytes, done)) return true;
        std::copy(loopback.begin(), loopback.end(), buffer);
        stage = Stage::Finished;
        break;
    default:
        reader.Event(Format(L"fault: read of %u bytes out of turn", size));
        return true;
    }
    done = size;
    return true;
}

Virtual_Reader::Virtual_Reader(Sim_Profile sim_profile)
    : profile(std::move(sim_profile)), model(std::make_shared<Chip_Model>(Make_Chip_Model(profile))) {
    const std::uint32_t populated = Populated_Lines(profile.config);
    for (std::size_t line = 0; line < chips.size(); ++line) {
        const bool answers = (populated >> line & 1) && !profile.sim.dead_lines[line];
        chips[line] = std::make_unique<Nand_Chip>(model, answers);
    }
}

Virtual_Reader::~Virtual_Reader() = default;

std::uint32_t Populated_Lines(const NAND_Config& config) {
    // The package has a die on every line its banks select; a "Banks" or
    // "Join CE" text that does not read leaves all eight lines populated.
    try {
        std::uint32_t lines = 0;
        const std::uint32_t banks = std::min<std::uint32_t>(config.Get_Bank_Count(), 8);
        for (std::uint32_t bank = 1; bank <= banks; ++bank) lines |= Get_Bank_Enable(bank, config);
        return lines ? lines : 0xFF;
    } catch (const ZEKT_Exception&) {
        return 0xFF;
    }
}

std::unique_ptr<KI::Virtual_Device> Virtual_Reader::Open(const std::string&) {
    // One link at a time, as the driver opens it exclusively.
    if (link_open || unplugged) {
        Event(unplugged ? L"open refused: unplugged" : L"open refused: a link is open");
        return nullptr;
    }
    link_open = true;
    Event(L"open");
    return std::make_unique<Virtual_Link>(*this);
}

void Virtual_Reader::Event(const std::wstring& text) {
    // Consecutive data reads are one line, so a long dump keeps the
    // transcript short.
    const bool data = text.rfind(L"data ", 0) == 0;
    if (data && !transcript.empty() && transcript.back().rfind(L"data ", 0) == 0)
        transcript.back() = text;
    else
        transcript.push_back(text);
    if (on_event) on_event(text);
}

void Virtual_Reader::Supply(std::uint32_t centivolts) {
    adapter_voltage = centivolts;
    for (const auto& chip : chips) chip->Supply(centivolts);
}

void Virtual_Reader::Deliver(std::uint64_t bytes) {
    data_bytes += bytes;
    Event(Format(L"data 0x%I64x bytes", data_bytes));
}

namespace {

std::shared_ptr<Virtual_Reader>& Selected() {
    static std::shared_ptr<Virtual_Reader> selected;
    return selected;
}

}  // namespace

void Select_Virtual_Reader(std::shared_ptr<Virtual_Reader> reader) {
    KI::Install_Virtual_Device_Provider(reader.get());
    Selected() = std::move(reader);
}

std::shared_ptr<Virtual_Reader> Selected_Virtual_Reader() { return Selected(); }

}  // namespace Korvane_Emulator
