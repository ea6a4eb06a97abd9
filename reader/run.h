// A reading run: power devices switched on, the link opened, image 4
// uploaded, program and setup block sent; closed in the fixed order that the
// exclusive link requires. And the reader's USB self-test.
#pragma once

#include <memory>

#include "framework/errors.h"
#include "framework/fab.h"
#include "reader/assembler.h"
#include "reader/link.h"
#include "reader/power.h"
#include "reader/setup.h"

namespace Korvane_Internal {

// Members are destroyed in reverse order, so even without Close_Run the
// link closes before the power module switches off through a link of its own.
struct Reader_Run {
    bool adapter_on = false;
    std::unique_ptr<Power::Base> power_module;
    std::unique_ptr<ZEKT_Reader2> link;
};

// Opens a run into an empty holder; on failure whatever was switched on is
// switched off again and the holder stays empty.
void Open_Run(ZEKT_Holder<Reader_Run>& run, Reader_Setup& setup, const NAND_Assembler::Assembler_Code& program);

// Closes the link, then the power module, then the adapter; swallows every
// failure, since it runs while an error passes. Empties the holder.
void Close_Run(ZEKT_Holder<Reader_Run>& run) noexcept;

// The self-test: pattern reads and writes through image 1, reported line by
// line into `log`; true when every compare was OK.
bool Usb_Test_Run(ZEKT_Log& log);

// The "Test USB" command: the self-test's text, or its failure, collected
// and handed to `box` in one Print (the front end's "Message" box). True
// when the test ran and passed.
bool Usb_Test_Command(ZEKT_Log& box);

}  // namespace Korvane_Internal
