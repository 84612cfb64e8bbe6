#include "cli/json.h"

#include "cli/utf8.h"

namespace cuentas::cli {

void appendJsonString(TextBuilder& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    std::size_t at = 0;
    while (at < text.size()) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            out.append("\\u00");
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (const std::size_t length = utf8SequenceLength(text, at)) {
            out.append(text.substr(at, length));
            at += length;
            continue;
        } else {
            out.append("\xEF\xBF\xBD");
        }
        ++at;
    }
    out.push_back('"');
}

} // namespace cuentas::cli
