// make_bank_table REGISTER OUTPUT: writes the bank table NomBancos.dbf from the register of
// entities, dated as the register. Every faulty line is reported as "REGISTER:LINE: problem"
// and nothing is written.

#include "platform/os/files.h"
#include "platform/os/os_error.h"
#include "tools/make_bank_table/bank_table_writer.h"
#include "tools/make_bank_table/register_check.h"
#include "tools/make_bank_table/register_source.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace cuentas::tools;
    if (argc != 3) {
        std::cerr << "usage: make_bank_table REGISTER OUTPUT\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    auto text = cuentas::MemoRead(source);
    if (!text) {
        std::cerr << source << ": cannot read: " << cuentas::osErrorText(cuentas::FError()) << "\n";
        return 1;
    }
    Register entities = parseRegister(*text);
    // Lines first: the register as a whole is checked only when every line could be read.
    std::vector<SourceMessage> problems = entities.errors;
    if (problems.empty()) {
        problems = checkRegister(entities.entities);
    }
    for (const SourceMessage& problem : problems) {
        std::cerr << source << ":" << problem.line << ": " << problem.text << "\n";
    }
    if (!problems.empty()) {
        std::cerr << output << " not written\n";
        return 1;
    }
    // Written whole or not at all: a reader never sees half a table.
    std::string image = bankTableImage(bankRecords(entities.entities), *entities.date);
    if (!cuentas::MemoWrit(output, image)) {
        std::cerr << output << ": cannot write: " << cuentas::osErrorText(cuentas::FError())
                  << "\n";
        return 1;
    }
    return 0;
}
