// A minimal reader behind the link's virtual-device seam: it records every
// block written and answers reads from canned blocks, one per read.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reader/link.h"

class Scripted_Device : public Korvane_Internal::Virtual_Device_Provider {
public:
    using Bytes = std::vector<std::uint8_t>;

    Scripted_Device() { previous = Korvane_Internal::Install_Virtual_Device_Provider(this); }
    ~Scripted_Device() override { Korvane_Internal::Install_Virtual_Device_Provider(previous); }
    Scripted_Device(const Scripted_Device&) = delete;
    Scripted_Device& operator=(const Scripted_Device&) = delete;

    // What happened on the links, in order.
    std::vector<Bytes> writes;
    std::deque<Bytes> answers;  // a shorter answer than asked is a short read
    int opens = 0;
    int closes = 0;
    bool present = true;
    // The write with this number (from 0) moves only half its bytes.
    std::optional<std::size_t> short_write_at;

    std::unique_ptr<Korvane_Internal::Virtual_Device> Open(const std::string& link_name) override {
        names.push_back(link_name);
        // Like the hardware: absent, or already held by another link.
        if (!present || opens != closes) return nullptr;
        ++opens;
        return std::make_unique<Link>(*this);
    }

    std::vector<std::string> names;

    // The writes after each image upload, which tests rarely want to compare.
    std::vector<Bytes> Writes_Without_Uploads() const {
        std::vector<Bytes> kept;
        for (const Bytes& block : writes)
            if (block.size() != 78424u * 16 - 32) kept.push_back(block);
        return kept;
    }

private:
    class Link : public Korvane_Internal::Virtual_Device {
    public:
        explicit Link(Scripted_Device& owner) : device(owner) {}
        bool Write(const std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) override {
            const bool is_short = device.short_write_at == device.writes.size();
            device.writes.emplace_back(buffer, buffer + size);
            done = is_short ? size / 2 : size;
            return true;
        }
        bool Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) override {
            if (device.answers.empty()) return false;
            const Bytes answer = device.answers.front();
            device.answers.pop_front();
            done = static_cast<std::uint32_t>(std::min<std::size_t>(answer.size(), size));
            std::copy(answer.begin(), answer.begin() + done, buffer);
            return true;
        }
        std::wstring Error_Text() override { return L"scripted short write"; }
        void Closed() noexcept override { ++device.closes; }

    private:
        Scripted_Device& device;
    };

    Korvane_Internal::Virtual_Device_Provider* previous = nullptr;
};
