// A program that links what the command-line tool may link (the control digits, the table
// reader, the runtime and the seam) and calls into each, so that the linker keeps them all.
// The test around it fails when such a program loads a Qt or ALSA library.
#include "controldigits/control_digits.h"
#include "platform/os/paths.h"
#include "platform/runtime/text.h"
#include "platform/table/dbf_image.h"

int main(int argc, char**) {
    bool parsed = cuentas::DbfImage::parse(std::string(static_cast<std::size_t>(argc), '\0')).ok();
    std::string path = cuentas::nativePath(cuentas::Upper("\\tmp\\x"));
    return static_cast<int>(cuentas::controlDigits("0049", "0001", "77") % 2) + parsed +
           static_cast<int>(path.size() % 2);
}
