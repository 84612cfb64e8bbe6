#pragma once
// Findings put into words: the message for people, the plain result of each command and the
// CSV columns and JSON object for machines. Entity texts are made once, in UTF-8, so that a
// result costs no allocation.

#include "cli/finding.h"
#include "cli/messages.h"
#include "cli/text_builder.h"

#include <string>
#include <string_view>
#include <vector>

namespace cuentas::cli {

class Reporter {
public:
    // The register may be absent (`digits` needs none).
    Reporter(const Messages& messages, const EntityRegister* entities);

    // The message about a finding; `input` is the number as written, for the character a
    // fault names. With `entityName` a usable number shows its entity's name.
    void describe(TextBuilder& out, const Finding& finding, std::string_view input,
                  bool entityName = false) const;
    // The warning about a usable number's entity, "warning: ...".
    void describeWarning(TextBuilder& out, const Finding& finding) const;
    // What a command prints for a valid finding (`check`: the message with the entity's name).
    void appendResult(TextBuilder& out, Command command, const Finding& finding,
                      std::string_view input) const;
    // The result columns status, compact, iban, entity, message, ccc, each after a separator.
    void appendCsvColumns(TextBuilder& out, const Finding& finding, std::string_view input,
                          char separator) const;
    // One JSON object, without its line end; `line` 0 leaves the line number out. A line too
    // long gives its `length` in bytes instead of the input.
    void appendJson(TextBuilder& out, const Finding& finding, std::string_view input,
                    std::uint64_t line, std::uint64_t length = 0) const;

private:
    // Texts about the entity at a position of the register's entities().
    struct EntityTexts {
        std::string name;    // the display name
        std::string caution; // absorbed or inactive: what the warning says
        std::string state;   // what `bank` says after the name
    };
    const EntityTexts* textsOf(const Entity* entity) const;
    void appendEntityWarning(TextBuilder& out, const Finding& finding) const;
    void appendFault(TextBuilder& out, const Finding& finding, std::string_view input) const;
    // The failing checks and the numbers one typo away that pass them; false when there are
    // none to tell beyond the check or control digits alone, or too many.
    bool appendCrossCheck(TextBuilder& out, const Finding& finding, std::string_view input) const;
    bool appendMisreading(TextBuilder& out, const Finding& finding, std::string_view input) const;
    void appendCandidate(TextBuilder& out, const Finding& finding, const Candidate& candidate,
                         std::string_view input) const;
    void appendCandidatesJson(TextBuilder& out, const Finding& finding,
                              std::string_view input) const;
    const EntityTexts* textsOfCode(const std::array<char, kIbanLength>& number, bool iban) const;

    const Messages& messages_;
    const EntityRegister* entities_;
    std::vector<EntityTexts> entityTexts_;
    // Reused for the parts of a message, so that a result allocates nothing once they grew.
    mutable TextBuilder base_;
    mutable TextBuilder detail_;
    mutable TextBuilder number_;
    mutable TextBuilder message_;
    mutable TextBuilder change_;
    mutable TextBuilder shown_;
};

// "ES91 2100 0418 4502 0005 1332" for an IBAN, "2100 0418 45 0200051332" for a code.
void appendPaperForm(TextBuilder& out, const AccountDiagnosis& account);

} // namespace cuentas::cli
