// korvane-cli: the command-line front end.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "framework/os.h"
#include "framework/values.h"
#include "reader/images.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = ZEKT_Os::Arguments_UTF8(argc, argv);
    // The operator's own reader images may lie beside the program.
    if (argc > 0) Korvane_Internal::Set_Image_Folder(Folder_Of(From_Code_Page(argv[0], 0)));
    // Ctrl-C ends a dump at the next chunk, with the reader closed and powered off.
    ZEKT_Os::Catch_Stop_Requests();
    return Korvane_Cli::Run(arguments, std::cout, std::cerr, std::cin, ZEKT_Os::Is_Terminal_Input(),
                            ZEKT_Os::Is_Terminal_Error());
}
