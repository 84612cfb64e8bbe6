// make_bank_table SOURCE OUTPUT: writes the bank table NomBancos.dbf from the bank list.
// Every faulty line of the list is reported as "SOURCE:LINE: problem" and nothing is written;
// duplicate codes are only warned about.

#include "platform/os/files.h"
#include "platform/os/os_error.h"
#include "tools/make_bank_table/bank_source.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <iostream>

namespace {

using cuentas::tools::UpdateDate;

// SOURCE_DATE_EPOCH, when set, makes the table's date reproducible; otherwise today.
UpdateDate updateDate() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    }
    std::tm utc{};
    gmtime_r(&now, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

void report(const std::string& source, const std::vector<cuentas::tools::SourceMessage>& messages,
            const char* kind) {
    for (const auto& message : messages) {
        std::cerr << source << ":" << message.line << ": " << kind << message.text << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_bank_table SOURCE OUTPUT\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    auto text = cuentas::MemoRead(source);
    if (!text) {
        std::cerr << source << ": cannot read: " << cuentas::osErrorText(cuentas::FError()) << "\n";
        return 1;
    }
    cuentas::tools::BankSource banks = cuentas::tools::parseBankSource(*text);
    report(source, banks.warnings, "warning: ");
    report(source, banks.errors, "");
    if (!banks.errors.empty()) {
        std::cerr << output << " not written\n";
        return 1;
    }
    // Written whole or not at all: a reader never sees half a table.
    if (!cuentas::MemoWrit(output, cuentas::tools::bankTableImage(banks.banks, updateDate()))) {
        std::cerr << output << ": cannot write: " << cuentas::osErrorText(cuentas::FError())
                  << "\n";
        return 1;
    }
    return 0;
}
