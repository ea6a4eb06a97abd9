#include <algorithm>
#include <thread>

#include "ecc/bch.h"
#include "ecc/codec.h"
#include "ecc/galois.h"
#include "framework/errors.h"

namespace Korvane_Ecc {

namespace {

constexpr double accept_share = 0.99;
constexpr std::size_t quick_codewords = 3;  // codewords the cheap tests look at

struct Sample {
    const std::vector<std::vector<std::uint8_t>>& pages;  // non-erased pages only
    std::uint32_t data_bytes, spare_bytes;
};

struct Candidate {
    Ecc_Layout layout;
    double share = 0;
};

bool Near_Erased(const std::uint8_t* bytes, std::uint32_t count) {
    std::uint32_t zeros = 0;
    for (std::uint32_t i = 0; i < count; ++i) zeros += 8 - static_cast<std::uint32_t>(__builtin_popcount(bytes[i]));
    return zeros <= 64;
}

// Share of the sample's non-erased codewords that decode within t; 0 when the cheap test
// (a few codewords matching their ECC exactly) already fails.
double Share_Of(const Page_Codec& codec, const Sample& sample) {
    std::size_t clean = 0, looked = 0;
    for (const auto& page : sample.pages) {
        for (std::uint32_t i = 0; i < codec.Places().codewords.size() && looked < quick_codewords; ++i) {
            const Codeword_Place& place = codec.Places().codewords[i];
            if (Near_Erased(page.data() + place.data_offset, place.data_bytes)) continue;
            ++looked;
            clean += codec.Codeword_Clean(page.data(), i);
            break;  // one codeword per page, so that one odd page does not decide
        }
        if (looked == quick_codewords) break;
    }
    if (!clean) return 0;
    std::size_t within = 0, counted = 0;
    std::vector<std::uint8_t> copy;
    std::vector<Codeword_Report> reports;
    for (const auto& page : sample.pages) {
        copy = page;
        reports.clear();
        const std::uint32_t codewords = codec.Check_Page(copy.data(), false, reports);
        std::size_t erased = 0, bad = 0;
        for (const Codeword_Report& report : reports) {
            erased += report.status == Codeword_Status::Erased;
            bad += report.status == Codeword_Status::Uncorrectable;
        }
        counted += codewords - erased;
        within += codewords - erased - bad;
    }
    return counted ? double(within) / double(counted) : 0;
}

// Evaluates one layout; a layout the page cannot hold is left out.
void Try_Layout(const Ecc_Layout& layout, const Sample& sample, std::vector<Candidate>& candidates) {
    try {
        const Page_Codec codec(layout, sample.data_bytes, sample.spare_bytes);
        candidates.push_back({layout, Share_Of(codec, sample)});
    } catch (const ZEKT_Exception_DataCorrupt&) {
        // Does not fit this page geometry: nothing to try.
    }
}

std::uint32_t Linux_M(std::uint32_t step_bytes) { return step_bytes == 1024 ? 14 : 13; }

// The largest t whose layout fits the page, 0 when none.
std::uint32_t Max_T(Ecc_Layout layout, const Sample& sample) {
    std::uint32_t best = 0;
    for (layout.t = 1; layout.t <= 64; ++layout.t) {
        try {
            Lay_Out(layout, sample.data_bytes, sample.spare_bytes);
            best = layout.t;
        } catch (const ZEKT_Exception_DataCorrupt&) {
            break;  // a larger t needs even more room
        }
    }
    return best;
}

// The codewords the polynomial sweep tests, per (step, place, t, bit variant): each bit
// complemented (the erased-page mask makes a complemented stored codeword a plain codeword),
// message bytes in the order the code reads them, then the ECC bits.
struct Sweep_Word {
    std::vector<std::uint8_t> message;
    std::vector<std::uint8_t> ecc_bits;  // one bit per byte
};

std::vector<Sweep_Word> Sweep_Words(const Ecc_Layout& layout, const Sample& sample) {
    std::vector<Sweep_Word> words;
    const Page_Layout places = Lay_Out(layout, sample.data_bytes, sample.spare_bytes);
    const std::uint32_t ecc_bits = layout.m * layout.t;
    const bool swap = layout.bits == Bit_Variant::Swap, reversed = layout.bits != Bit_Variant::Plain;
    for (const auto& page : sample.pages) {
        for (const Codeword_Place& place : places.codewords) {
            const std::uint8_t* data = page.data() + place.data_offset;
            if (Near_Erased(data, place.data_bytes)) continue;
            Sweep_Word word;
            for (std::uint32_t i = 0; i < place.data_bytes; ++i)
                word.message.push_back(static_cast<std::uint8_t>(~(swap ? Reverse_Bits(data[i]) : data[i])));
            for (std::uint32_t bit = 0; bit < ecc_bits; ++bit) {
                const std::uint8_t stored = page[place.ecc_offset + bit / 8];
                const std::uint32_t shift = reversed ? bit % 8 : 7 - bit % 8;
                word.ecc_bits.push_back(static_cast<std::uint8_t>(~stored >> shift & 1));
            }
            words.push_back(std::move(word));
            break;
        }
        if (words.size() == quick_codewords) break;
    }
    return words;
}

// True when the complemented codeword is a multiple of the primitive polynomial, that is
// when alpha is a root: every BCH codeword over that field passes, a wrong guess 1 in 2^m.
bool Alpha_Is_Root(const Sweep_Word& word, std::uint32_t poly, std::uint32_t m, const std::uint32_t* reduce) {
    const std::uint32_t mask = (1u << m) - 1;
    std::uint32_t r = 0;
    for (const std::uint8_t byte : word.message) r = ((r << 8) & mask) ^ byte ^ reduce[r >> (m - 8)];
    for (const std::uint8_t bit : word.ecc_bits) {
        r = r << 1 | bit;
        if (r >> m) r ^= poly;
    }
    return r == 0;
}

struct Sweep_Group {
    Ecc_Layout layout;  // poly left open
    std::vector<Sweep_Word> words;
};

// Every primitive polynomial against every group; a polynomial that passes on (nearly)
// every sampled codeword of a group becomes a candidate layout.
std::vector<Ecc_Layout> Sweep(const std::vector<Sweep_Group>& groups, std::uint32_t m, unsigned threads) {
    const std::vector<std::uint32_t>& polys = Primitive_Polynomials(m);
    std::vector<std::vector<std::pair<std::size_t, Ecc_Layout>>> found(std::max(1u, threads));
    auto work = [&](unsigned thread) {
        std::uint32_t reduce[256];
        for (std::size_t p = thread; p < polys.size(); p += found.size()) {
            const std::uint32_t poly = polys[p];
            // reduce[h] = (h * x^m) mod poly, for the 8 bits that leave the top at each byte.
            for (std::uint32_t h = 0; h < 256; ++h) {
                std::uint32_t r = h;
                for (std::uint32_t i = 0; i < m; ++i) {
                    r <<= 1;
                    if (r >> m) r ^= poly;
                }
                reduce[h] = r;
            }
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const auto& words = groups[g].words;
                const std::size_t need = std::min<std::size_t>(2, words.size());
                std::size_t roots = 0;
                for (std::size_t w = 0; w < words.size() && roots + (words.size() - w) >= need; ++w)
                    roots += Alpha_Is_Root(words[w], poly, m, reduce);
                if (!need || roots < need) continue;
                Ecc_Layout layout = groups[g].layout;
                layout.poly = poly;
                found[thread].push_back({g * polys.size() + p, layout});
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned thread = 1; thread < found.size(); ++thread) pool.emplace_back(work, thread);
    work(0);
    for (auto& thread : pool) thread.join();
    std::vector<std::pair<std::size_t, Ecc_Layout>> all;
    for (auto& list : found) all.insert(all.end(), list.begin(), list.end());
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Ecc_Layout> layouts;
    for (auto& [order, layout] : all) layouts.push_back(layout);
    return layouts;
}

const wchar_t* Place_Name(Ecc_Place place) {
    switch (place) {
    case Ecc_Place::End: return L"end";
    case Ecc_Place::Interleaved: return L"interleaved";
    }
    return L"";
}

}  // namespace

Search_Result Find_Layout(const std::vector<std::vector<std::uint8_t>>& pages, std::uint32_t data_bytes,
                          std::uint32_t spare_bytes, unsigned threads) {
    std::vector<std::vector<std::uint8_t>> written;
    for (const auto& page : pages) {
        if (page.size() != std::size_t(data_bytes) + spare_bytes)
            throw ZEKT_Exception_Bug(Format(L"Sampled page of <%I64u> bytes in a search for <%u>-byte pages",
                                            std::uint64_t(page.size()), data_bytes + spare_bytes));
        if (!std::all_of(page.begin(), page.end(), [](std::uint8_t b) { return b == 0xff; })) written.push_back(page);
    }
    const Sample sample{written, data_bytes, spare_bytes};
    Search_Result result;
    std::vector<Candidate> candidates;

    // What Linux software ECC writes by default: ECC at the end of the spare, default polynomials.
    for (const std::uint32_t step : {512u, 1024u}) {
        Ecc_Layout layout;
        layout.step_bytes = step;
        layout.m = Linux_M(step);
        layout.poly = Default_Polynomial(layout.m);
        const std::uint32_t max_t = Max_T(layout, sample);
        for (layout.t = 1; layout.t <= max_t; ++layout.t) Try_Layout(layout, sample, candidates);
        if (max_t)
            result.tried.push_back(Format(L"bch step=%u m=%u t=1..%u poly=0x%x ecc=end", step, layout.m, max_t,
                                          layout.poly));
    }
    for (const std::uint32_t step : {256u, 512u})
        for (const Hamming_Order order : {Hamming_Order::Linux, Hamming_Order::Smartmedia}) {
            Ecc_Layout layout;
            layout.code = Code_Kind::Hamming;
            layout.step_bytes = step;
            layout.order = order;
            const std::size_t before = candidates.size();
            Try_Layout(layout, sample, candidates);
            if (candidates.size() > before) result.tried.push_back(Layout_Text(layout));
        }

    const auto best_share = [&] {
        double best = 0;
        for (const Candidate& candidate : candidates) best = std::max(best, candidate.share);
        return best;
    };
    // Then every BCH code the spare can hold, polynomial by polynomial.
    if (best_share() < accept_share) {
        for (const std::uint32_t step : {512u, 1024u}) {
            const std::uint32_t m = Linux_M(step);
            std::vector<Sweep_Group> groups;
            for (const Ecc_Place place : {Ecc_Place::End, Ecc_Place::Interleaved}) {
                Ecc_Layout layout;
                layout.step_bytes = step;
                layout.m = m;
                layout.poly = Default_Polynomial(m);
                layout.place = place;
                const std::uint32_t max_t = Max_T(layout, sample);
                for (layout.t = 1; layout.t <= max_t; ++layout.t)
                    for (const Bit_Variant bits : {Bit_Variant::Plain, Bit_Variant::Swap, Bit_Variant::Ecc_Reversed}) {
                        layout.bits = bits;
                        groups.push_back({layout, Sweep_Words(layout, sample)});
                    }
                if (max_t)
                    result.tried.push_back(Format(L"bch step=%u m=%u t=1..%u ecc=%s: %I64u polynomials, bits plain, swap, ecc-reversed",
                                                  step, m, max_t, Place_Name(place),
                                                  std::uint64_t(Primitive_Polynomials(m).size())));
            }
            for (const Ecc_Layout& layout : Sweep(groups, m, threads))
                if (std::none_of(candidates.begin(), candidates.end(),
                                 [&](const Candidate& c) { return c.layout == layout; }))
                    Try_Layout(layout, sample, candidates);
        }
    }

    // The best share wins, the earlier tried on a tie; the next best is the runner-up.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.share > b.share; });
    if (!candidates.empty()) {
        result.layout = candidates[0].layout;
        result.share = candidates[0].share;
        result.found = result.share >= accept_share;
    }
    if (candidates.size() > 1) {
        result.has_runner_up = true;
        result.runner_up = candidates[1].layout;
        result.runner_up_share = candidates[1].share;
    }
    if (written.empty()) result.tried.push_back(L"no sampled page holds data");
    return result;
}

}  // namespace Korvane_Ecc
