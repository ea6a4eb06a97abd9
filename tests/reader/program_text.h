// Expected micro-programs written the way one reads them off a datasheet.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/message_of.h"

using Words = std::vector<std::uint16_t>;

// "2100 8000 11FF": words as hexadecimal text.
inline Words Hex_Words(const std::string& text) {
    std::istringstream in(text);
    Words words;
    std::string token;
    while (in >> token) words.push_back(static_cast<std::uint16_t>(std::stoul(token, nullptr, 16)));
    return words;
}

// "Cmd 36; Addr AC; Data 00; Wait; Read; Row 1": steps, each word followed
// by 8000; numbers hexadecimal.
inline Words Steps(const std::string& text) {
    Words words;
    std::istringstream in(text);
    std::string step;
    while (std::getline(in, step, ';')) {
        std::istringstream parts(step);
        std::string name, number;
        parts >> name >> number;
        if (name.empty()) continue;
        const unsigned argument = number.empty() ? 0 : static_cast<unsigned>(std::stoul(number, nullptr, 16));
        unsigned opcode = 0;
        if (name == "Addr") opcode = 0x10;
        else if (name == "Cmd") opcode = 0x11;
        else if (name == "Data") opcode = 0x12;
        else if (name == "Row") opcode = 0x13;
        else if (name == "Read") opcode = 0x20;
        else if (name == "Wait") opcode = 0x21;
        else if (name == "End") opcode = 0x22;
        else ADD_FAILURE() << "unknown step " << name;
        words.push_back(static_cast<std::uint16_t>(opcode << 8 | argument));
        words.push_back(0x8000);
    }
    return words;
}

inline Words operator+(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Words Repeat(const Words& words, int times) {
    Words all;
    for (int i = 0; i < times; ++i) all = all + words;
    return all;
}

