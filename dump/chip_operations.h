// The chip operations that turn a chip configuration, the reader options and
// a bank into reading runs: the reader medium that streams a bank, the ID
// read and the parameter page read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "config/nand_options.h"
#include "framework/fab.h"
#include "framework/media.h"
#include "reader/run.h"
#include "reader/setup.h"

namespace Korvane_Internal {

// The reader medium: successive reads take successive bytes of the bank's
// page stream. The run opens at the first read and closes on destruction.
class Korvane : public ZEKT_Media {
public:
    Korvane(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options);
    // Only the bytes [start, end) of the bank's stream (end capped at the
    // bank's size); `start` is taken down to a whole unit, and the reading
    // run starts at that unit's row.
    Korvane(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options, std::uint64_t start,
            std::uint64_t end);
    ~Korvane() override;
    Korvane(const Korvane&) = delete;
    Korvane& operator=(const Korvane&) = delete;

    void Write(const void* buffer, std::uint64_t size) override;
    void Read(void* buffer, std::uint64_t size) override;
    void SetPos(std::uint64_t position) override;
    std::uint64_t GetSize() override { return end - start; }

    // May be changed after construction and before the first read (special_read).
    Reader_Setup setup;

private:
    std::uint32_t bank;
    NAND_Config config;
    NAND_Options options;
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    ZEKT_Holder<Reader_Run> run;
};

// The setups of the ID read and of the parameter page read.
Reader_Setup Id_Setup(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options);
// The parameter page read takes `bytes` bytes: one 256-byte copy, or the
// three copies the chip repeats.
Reader_Setup Parameter_Page_Setup(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                                  std::uint32_t bytes = 256);

// The ID bytes as "%02x " each: "ec d7 94 " with its trailing blank.
std::wstring Read_Id(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options);

// The first `bytes` bytes the chip answers to the parameter page command
// at `address` (00h ONFI, 40h JEDEC).
std::vector<std::uint8_t> Read_Parameter_Page(std::uint32_t bank, const NAND_Config& config,
                                              const NAND_Options& options, std::uint32_t bytes = 256,
                                              std::uint8_t address = 0x00);

}  // namespace Korvane_Internal
