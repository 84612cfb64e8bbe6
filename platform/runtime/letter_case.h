#pragma once
// Letter case in the Windows-1252 code page, byte by byte: the one rule by which the runtime
// upper-cases texts and symbols and compares the field names of tables.

namespace cuentas {

// a-z, the accented small letters 0xE0-0xFE (not the division sign 0xF7), and the three
// small letters of 0x9A-0x9E become capitals; 0xFF (y with diaeresis) becomes 0x9F.
// The sharp s 0xDF has no single-byte capital and stays.
constexpr char upperCase1252(char c) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
        b = static_cast<unsigned char>(b - 0x20);
    } else if (b == 0x9A || b == 0x9C || b == 0x9E) {
        b = static_cast<unsigned char>(b - 0x10);
    } else if (b == 0xFF) {
        b = 0x9F;
    }
    return static_cast<char>(b);
}

// The inverse of upperCase1252.
constexpr char lowerCase1252(char c) {
    auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
        b = static_cast<unsigned char>(b + 0x20);
    } else if (b == 0x8A || b == 0x8C || b == 0x8E) {
        b = static_cast<unsigned char>(b + 0x10);
    } else if (b == 0x9F) {
        b = 0xFF;
    }
    return static_cast<char>(b);
}

} // namespace cuentas
