#include <algorithm>
#include <thread>
#include <tuple>

#include "ecc/bch.h"
#include "ecc/codec.h"
#include "ecc/galois.h"
#include "framework/errors.h"

namespace Korvane_Ecc {

namespace {

constexpr double accept_share = 0.99;
// Codewords of different pages the polynomial sweep looks at; two must match exactly, so that
// a worn dump with flips in many codewords is still found.
constexpr std::size_t sweep_codewords = 8;
constexpr std::size_t sweep_misses = 2;  // codewords with flips a right polynomial may meet first

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

// Share of the sample's non-erased codewords that decode within t. A wrong layout stops as soon
// as more than 1% of all sampled codewords failed: it can no longer be accepted.
double Share_Of(const Page_Codec& codec, const Sample& sample) {
    const double most_failures = (1 - accept_share) * double(sample.pages.size() * codec.Places().codewords.size());
    std::size_t within = 0, counted = 0, failed = 0;
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
        failed += bad;
        if (double(failed) > most_failures) break;
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
// message bytes in the order the code reads them, then the ECC bits. Groups share messages:
// the same data bytes are read the same way for every t and both ECC bit orders.
struct Sweep_Word {
    std::size_t message;             // index into Sweep_Messages::messages
    std::vector<std::uint8_t> ecc;   // complemented ECC, most significant bit first, padding at the low end
    std::uint32_t ecc_bits;
};

struct Sweep_Group {
    Ecc_Layout layout;  // poly left open
    std::vector<Sweep_Word> words;
};

struct Sweep_Messages {
    std::vector<std::vector<std::uint8_t>> messages;
    std::vector<std::tuple<std::size_t, std::uint32_t, bool>> keys;  // page, offset, swapped

    std::size_t Message(const Sample& sample, std::size_t page, const Codeword_Place& place, bool swap) {
        const auto key = std::make_tuple(page, place.data_offset, swap);
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return i;
        std::vector<std::uint8_t> message;
        for (std::uint32_t i = 0; i < place.data_bytes; ++i) {
            const std::uint8_t byte = sample.pages[page][place.data_offset + i];
            message.push_back(static_cast<std::uint8_t>(~(swap ? Reverse_Bits(byte) : byte)));
        }
        keys.push_back(key);
        messages.push_back(std::move(message));
        return messages.size() - 1;
    }
};

std::vector<Sweep_Word> Sweep_Words(const Ecc_Layout& layout, const Sample& sample, Sweep_Messages& messages) {
    std::vector<Sweep_Word> words;
    const Page_Layout places = Lay_Out(layout, sample.data_bytes, sample.spare_bytes);
    const bool swap = layout.bits == Bit_Variant::Swap, reversed = layout.bits != Bit_Variant::Plain;
    for (std::size_t page = 0; page < sample.pages.size() && words.size() < sweep_codewords; ++page) {
        for (const Codeword_Place& place : places.codewords) {
            if (Near_Erased(sample.pages[page].data() + place.data_offset, place.data_bytes)) continue;
            Sweep_Word word{messages.Message(sample, page, place, swap), {}, layout.m * layout.t};
            for (std::uint32_t i = 0; i < place.ecc_bytes; ++i) {
                const std::uint8_t stored = sample.pages[page][place.ecc_offset + i];
                word.ecc.push_back(static_cast<std::uint8_t>(~(reversed ? Reverse_Bits(stored) : stored)));
            }
            words.push_back(std::move(word));
            break;  // one codeword per page
        }
    }
    return words;
}

// Remainders modulo one primitive polynomial, a byte at a time.
struct Reducer {
    std::uint32_t m, poly, mask, reduce[256];  // reduce[h] = (h * x^m) mod poly

    Reducer(std::uint32_t m_, std::uint32_t poly_) : m(m_), poly(poly_), mask((1u << m_) - 1) {
        for (std::uint32_t bit = 0; bit < 8; ++bit) {
            std::uint32_t r = 1u << bit;
            for (std::uint32_t i = 0; i < m; ++i) {
                r <<= 1;
                if (r >> m) r ^= poly;
            }
            reduce[1u << bit] = r;
        }
        reduce[0] = 0;
        for (std::uint32_t h = 1; h < 256; ++h) reduce[h] = reduce[h & (0u - h)] ^ reduce[h & (h - 1)];
    }
    std::uint32_t Bytes(std::uint32_t r, const std::uint8_t* bytes, std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) r = ((r << 8) & mask) ^ bytes[i] ^ reduce[r >> (m - 8)];
        return r;
    }
    std::uint32_t Bits(std::uint32_t r, std::uint32_t byte, std::uint32_t count) const {
        for (std::uint32_t i = 0; i < count; ++i) {
            r = r << 1 | (byte >> (7 - i) & 1);
            if (r >> m) r ^= poly;
        }
        return r;
    }
};

// Every primitive polynomial against every group: alpha must be a root of each complemented
// codeword, which holds for every BCH code over that field and a wrong guess 1 time in 2^m.
// A polynomial that passes on (nearly) every sampled codeword of a group becomes a candidate.
std::vector<Ecc_Layout> Sweep(const std::vector<Sweep_Group>& groups, const Sweep_Messages& messages,
                              std::uint32_t m, unsigned threads) {
    const std::vector<std::uint32_t>& polys = Primitive_Polynomials(m);
    std::vector<std::vector<std::pair<std::size_t, Ecc_Layout>>> found(std::max(1u, threads));
    auto work = [&](unsigned thread) {
        // A message's remainder is worked out when a group first needs it (no_remainder until then).
        constexpr std::uint32_t no_remainder = ~0u;
        std::vector<std::uint32_t> message_remainder(messages.messages.size());
        for (std::size_t p = thread; p < polys.size(); p += found.size()) {
            const Reducer reducer(m, polys[p]);
            std::fill(message_remainder.begin(), message_remainder.end(), no_remainder);
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const auto& words = groups[g].words;
                const std::size_t need = std::min<std::size_t>(2, words.size());
                std::size_t roots = 0;
                for (std::size_t w = 0; w < words.size() && roots + (words.size() - w) >= need &&
                                        w - roots <= sweep_misses;
                     ++w) {
                    const Sweep_Word& word = words[w];
                    std::uint32_t& start = message_remainder[word.message];
                    if (start == no_remainder)
                        start = reducer.Bytes(0, messages.messages[word.message].data(), messages.messages[word.message].size());
                    std::uint32_t r = reducer.Bytes(start, word.ecc.data(), word.ecc_bits / 8);
                    if (word.ecc_bits % 8) r = reducer.Bits(r, word.ecc[word.ecc_bits / 8], word.ecc_bits % 8);
                    roots += r == 0;
                }
                if (!need || roots < need) continue;
                Ecc_Layout layout = groups[g].layout;
                layout.poly = polys[p];
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
        // Linux's field for the step first, then the larger ones a controller may choose.
        for (const std::uint32_t step : {512u, 1024u})
            for (std::uint32_t m = Linux_M(step); m <= 16; ++m) {
                std::vector<Sweep_Group> groups;
                Sweep_Messages messages;
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
                            groups.push_back({layout, Sweep_Words(layout, sample, messages)});
                        }
                    if (max_t)
                        result.tried.push_back(
                            Format(L"bch step=%u m=%u t=1..%u ecc=%s: %I64u polynomials, bits plain, swap, ecc-reversed",
                                   step, m, max_t, Place_Name(place), std::uint64_t(Primitive_Polynomials(m).size())));
                }
                for (const Ecc_Layout& layout : Sweep(groups, messages, m, threads))
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
