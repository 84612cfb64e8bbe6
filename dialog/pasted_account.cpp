// A whole account number pasted into an edit: fill the three fields from it, as if the user had
// typed them and left the bank field, or say why it cannot be taken.
#include "dialog/pasted_account.h"

#include "controldigits/account_number.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_symbols.h"
#include "dialog/main_dialog.h"
#include "platform/os/operating_system.h"
#include "platform/runtime/call_stack.h"

#include <algorithm>

namespace cuentas {
namespace {

constexpr unsigned char kNoBreakSpace = 0xA0;
constexpr unsigned char kSoftHyphen = 0xAD;

// Copied text often carries tabs, line ends or no-break spaces around or inside the number,
// and soft hyphens where a page may break it, which nobody sees.
std::string withPlainBlanks(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == kSoftHyphen) {
            continue;
        }
        plain.push_back(c == '\t' || c == '\r' || c == '\n' || byte == kNoBreakSpace ? ' ' : c);
    }
    return plain;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where an IBAN as printed begins: after the word "IBAN" (any letter case) and a blank or a
// colon, else at the first character that is not a blank.
std::string_view withoutIbanWord(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    constexpr std::string_view kWord = "IBAN";
    const bool word = text.size() > kWord.size() &&
                      std::equal(kWord.begin(), kWord.end(), text.begin(), [](char w, char c) {
                          return w == (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
                      });
    if (word && (text[kWord.size()] == ' ' || text[kWord.size()] == ':')) {
        text.remove_prefix(kWord.size() + 1);
    }
    return text;
}

// An IBAN as people write it, of whatever country: two letters, two check digits and 11 to
// 30 letters or digits, with blanks and hyphens anywhere.
bool isIbanShaped(std::string_view text) {
    std::string compact;
    for (char c : withoutIbanWord(text)) {
        if (c != ' ' && c != '-') {
            compact.push_back(c);
        }
    }
    if (compact.size() < 15 || compact.size() > 34 || !isLetter(compact[0]) ||
        !isLetter(compact[1]) || !isDigit(compact[2]) || !isDigit(compact[3])) {
        return false;
    }
    return std::all_of(compact.begin() + 4, compact.end(),
                       [](char c) { return isLetter(c) || isDigit(c); });
}

std::string foreignRefusal(const AccountDiagnosis& d) {
    return "El IBAN pegado es de otro pa\xEDs (" + std::string(d.country.begin(), d.country.end()) +
           "): solo se admiten n\xFAmeros de cuenta espa\xF1oles.\n\nNo se ha cambiado ning\xFAn "
           "campo.";
}

std::string digits(char first, char second) {
    return {first, second};
}

// "... y debería ser ", "... y deberían ser " (split where a hex escape would run on).
const std::string kShouldBe = " y deber\xED"
                              "a ser ";
const std::string kTheyShouldBe = " y deber\xED"
                                  "an ser ";

std::string refusal(const AccountDiagnosis& d) {
    const bool iban = d.form == AccountForm::Iban;
    std::string why = iban ? "El IBAN pegado"
                           : "El c\xF3"
                             "digo pegado";
    why += " no es v\xE1lido: ";
    const auto& written = d.writtenControlDigits;
    const auto& expected = d.controlDigits;
    switch (d.status) {
    case AccountStatus::IbanDigits:
        why += "sus d\xEDgitos de control son " +
               digits(d.writtenIbanDigits[0], d.writtenIbanDigits[1]) + kTheyShouldBe +
               digits(d.ibanDigits[0], d.ibanDigits[1]) + ".";
        break;
    case AccountStatus::BankBranchDigit:
        why += "el primer d\xEDgito de control, el de la entidad y la oficina, es " +
               std::string(1, written[0]) + kShouldBe + expected[0] + ".";
        break;
    case AccountStatus::AccountDigit:
        why += "el segundo d\xEDgito de control, el de la cuenta, es " +
               std::string(1, written[1]) + kShouldBe + expected[1] + ".";
        break;
    default: // both control digits
        why += "los dos d\xEDgitos de control est\xE1n mal: son " + digits(written[0], written[1]) +
               kTheyShouldBe + digits(expected[0], expected[1]) + ".";
        break;
    }
    if (iban && d.status != AccountStatus::IbanDigits && d.ibanDigitsFail) {
        why += " Tampoco cuadran los d\xEDgitos de control del IBAN.";
    }
    return why + "\n\nCompruebe el n\xFAmero; no se ha cambiado ning\xFAn campo.";
}

} // namespace

PastedAccount readPastedAccount(std::string_view text) {
    PastedAccount pasted;
    if (text.find('?') != std::string_view::npos) {
        return pasted;
    }
    const std::string plain = withPlainBlanks(text);
    const AccountDiagnosis d = diagnoseAccountNumber(plain);
    switch (d.status) {
    case AccountStatus::Valid: {
        const std::string_view ccc = d.cccDigits();
        pasted.action = PastedAccount::Action::Fill;
        pasted.bank = ccc.substr(0, 4);
        pasted.branch = ccc.substr(4, 4);
        pasted.account = ccc.substr(10);
        return pasted;
    }
    case AccountStatus::IbanDigits:
    case AccountStatus::BankBranchDigit:
    case AccountStatus::AccountDigit:
    case AccountStatus::ControlDigits:
        pasted.action = PastedAccount::Action::Refuse;
        pasted.message = refusal(d);
        return pasted;
    case AccountStatus::Country:
        // Two letters first: an IBAN of another country, or words.
        if (isIbanShaped(plain)) {
            pasted.action = PastedAccount::Action::Refuse;
            pasted.message = foreignRefusal(d);
        }
        return pasted;
    default:
        return pasted;
    }
}

Value mainDialogEditPasteRefused(const Value& self, const Value& text) {
    RoutineFrame frame("MAINDIALOG:EDITPASTEREFUSED");
    const PastedAccount pasted = readPastedAccount(text.asString());
    switch (pasted.action) {
    case PastedAccount::Action::LeaveToEdit:
        return Value::logic(false);
    case PastedAccount::Action::Refuse:
        operatingSystem().messageBox(pasted.message, kMainDialogCaption,
                                     kMessageBoxOk | kMessageBoxIconError);
        return Value::logic(true);
    case PastedAccount::Action::Fill:
        setText(self, MainDialogId::Banco, pasted.bank);
        setText(self, MainDialogId::Sucursal, pasted.branch);
        setText(self, MainDialogId::Cuenta, pasted.account);
        // As if the user had typed the three fields and left the bank field.
        Send(self, symbols::kMiraBanco);
        Send(self, symbols::kCalcular);
        return Value::logic(true);
    }
    return Value::logic(false);
}

} // namespace cuentas
