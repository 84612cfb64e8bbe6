#include "platform/os/posix/registry_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <random>
#include <string>

namespace cuentas {
namespace {

constexpr const char* kHive = "HKEY_LOCAL_MACHINE";

std::optional<std::string> lookup(std::string_view text, std::string_view path,
                                  std::string_view name) {
    const RegistryHive hive = RegistryHive::parse(text, kHive);
    const std::string* value = hive.value(path, name);
    return value ? std::optional(*value) : std::nullopt;
}

// A file as an administrator writes it by hand.
const char* const kAdminFile =
    "REGEDIT4\r\n"
    "\r\n"
    "; where the web server's logs go\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters]\r\n"
    "\"LogFileDirectory\"=\"%SystemRoot%\\\\System32\\\\LogFiles\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"the default\"\r\n"
    "  \"Spaced\" = \"around the sign\"  \r\n"
    "\r\n"
    "[software\\Cuentas\\]\r\n"
    "\"Name\"=\"A\xF1o\"\r\n";

struct Lookup {
    const char* path;
    const char* name;
    std::optional<std::string> expected;
};

void PrintTo(const Lookup& c, std::ostream* out) {
    *out << c.name << " of " << c.path;
}

class AdminFile : public ::testing::TestWithParam<Lookup> {};

TEST_P(AdminFile, GivesEachValueAsWritten) {
    const Lookup& c = GetParam();
    EXPECT_EQ(lookup(kAdminFile, c.path, c.name), c.expected) << c.path << " / " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    RegistryFile, AdminFile,
    ::testing::Values(
        Lookup{"SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "LogFileDirectory",
               "%SystemRoot%\\System32\\LogFiles"},
        Lookup{"system\\currentcontrolset\\services\\w3svc\\parameters", "LOGFILEDIRECTORY",
               "%SystemRoot%\\System32\\LogFiles"},
        Lookup{"SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "Quoted", "say \"hi\""},
        Lookup{"SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "", "the default"},
        Lookup{"SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "Spaced",
               "around the sign"},
        Lookup{"SOFTWARE\\Cuentas", "name", "A\xF1o"},
        // Values stay with their own key, and a parent lists none of its children's values.
        Lookup{"SOFTWARE\\Cuentas", "LogFileDirectory", std::nullopt},
        Lookup{"SYSTEM\\CurrentControlSet", "LogFileDirectory", std::nullopt},
        Lookup{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Cuentas", "Name", std::nullopt}));

struct Damaged {
    const char* label;
    const char* text;
    std::optional<std::string> valueOfX; // of key "K"
};

void PrintTo(const Damaged& c, std::ostream* out) {
    *out << c.label;
}

class DamagedLines : public ::testing::TestWithParam<Damaged> {};

TEST_P(DamagedLines, InventNoValue) {
    EXPECT_EQ(lookup(GetParam().text, "K", "X"), GetParam().valueOfX) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    RegistryFile, DamagedLines,
    ::testing::Values(Damaged{"value before any section", "\"X\"=\"a\"\n[K]\n", std::nullopt},
                      Damaged{"unterminated quote", "[K]\n\"X\"=\"open\n", std::nullopt},
                      Damaged{"unterminated name", "[K]\n\"X=\"a\"\n", std::nullopt},
                      Damaged{"escaped closing quote", "[K]\n\"X\"=\"C:\\\"\n", std::nullopt},
                      Damaged{"text after the value", "[K]\n\"X\"=\"a\" trailing\n", std::nullopt},
                      Damaged{"no equals sign", "[K]\n\"X\" \"a\"\n", std::nullopt},
                      Damaged{"number type", "[K]\n\"X\"=dword:00000001\n", std::nullopt},
                      Damaged{"values after an unterminated section stay off the key before",
                              "[K]\n[L\n\"X\"=\"a\"\n", std::nullopt},
                      Damaged{"section of another hive",
                              "[K]\n[HKEY_CURRENT_USER\\K]\n\"X\"=\"a\"\n", std::nullopt},
                      Damaged{"bad line between good ones", "[K]\n\"X\"=\"a\"\n\x01\x02garbage\n",
                              "a"},
                      Damaged{"later duplicate wins", "[K]\n\"X\"=\"a\"\n[k]\n\"x\"=\"b\"\n", "b"},
                      Damaged{"single backslash kept", "[K]\n\"X\"=\"D:\\Logs\"\n", "D:\\Logs"},
                      Damaged{"value removed", "[K]\n\"X\"=\"a\"\n\"X\"=-\n", std::nullopt},
                      Damaged{"key removed", "[K]\n\"X\"=\"a\"\n[-K]\n\"X\"=\"b\"\n", std::nullopt},
                      Damaged{"byte-order mark", "\xEF\xBB\xBF[K]\n\"X\"=\"a\"\n", "a"},
                      Damaged{"lone last line", "[K]\n\"X\"=\"a\"", "a"}));

TEST(RegistryFile, BinaryGarbageNeitherCrashesNorInventsValues) {
    std::mt19937 random(20240601);
    std::string garbage;
    for (int i = 0; i < 200000; ++i) {
        // Weighted towards the bytes the reader looks at.
        static constexpr char kSyntax[] = "[]\"\\=@;-\r\n";
        auto r = random();
        garbage += (r % 3 == 0) ? kSyntax[r % (sizeof kSyntax - 1)] : static_cast<char>(r >> 8);
    }
    RegistryHive hive = RegistryHive::parse(garbage, kHive);
    EXPECT_EQ(
        hive.value("SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "LogFileDirectory"),
        nullptr);
}

TEST(RegistryFile, ParentsOfListedKeysExistAndLettersMatchInAnyCase) {
    RegistryHive hive = RegistryHive::parse("[A\\Bc\\D]\n[A!]\n", kHive);
    EXPECT_TRUE(hive.hasKey(""));
    EXPECT_TRUE(hive.hasKey("a"));
    EXPECT_TRUE(hive.hasKey("A\\BC"));
    EXPECT_TRUE(hive.hasKey("a\\bc\\d"));
    EXPECT_TRUE(hive.hasKey("A!"));
    EXPECT_FALSE(hive.hasKey("A\\B"));
    EXPECT_FALSE(hive.hasKey("A\\Bc\\D\\E"));
    EXPECT_FALSE(hive.hasKey("B"));
}

TEST(RegistryFile, RemovingAKeyRemovesItsChildrenButNotItsNeighbours) {
    RegistryHive hive = RegistryHive::parse("[A\\B]\n[A\\B\\C]\n[A\\Bx]\n[-A\\B]\n", kHive);
    EXPECT_FALSE(hive.hasKey("A\\B"));
    EXPECT_FALSE(hive.hasKey("A\\B\\C"));
    EXPECT_TRUE(hive.hasKey("A\\Bx"));
}

TEST(RegistryFile, KeyPathsLoseEmptyParts) {
    EXPECT_EQ(normaliseKeyPath("\\\\SYSTEM\\\\Setup\\"), "SYSTEM\\Setup");
    EXPECT_EQ(normaliseKeyPath("\\"), "");
    EXPECT_EQ(normaliseKeyPath("a/b"), "a/b");
}

TEST(RegistryFile, StorableKeyPathsHaveNoControlCharactersAndShortParts) {
    EXPECT_TRUE(isStorableKeyPath("SYSTEM\\A\xF1o"));
    EXPECT_TRUE(isStorableKeyPath(std::string(255, 'k') + "\\" + std::string(255, 'k')));
    EXPECT_FALSE(isStorableKeyPath(std::string(256, 'k')));
    EXPECT_FALSE(isStorableKeyPath("A\n[B]"));
    EXPECT_FALSE(isStorableKeyPath("A\rB"));
}

struct Append {
    const char* existing;
    const char* path;
    const char* expected;
};

void PrintTo(const Append& c, std::ostream* out) {
    *out << c.path << " after " << ::testing::PrintToString(std::string(c.existing));
}

class AppendedSection : public ::testing::TestWithParam<Append> {};

TEST_P(AppendedSection, FollowsTheFilesOwnLineEnds) {
    const Append& c = GetParam();
    EXPECT_EQ(appendedSection(c.existing, kHive, c.path), c.expected) << c.existing;
}

INSTANTIATE_TEST_SUITE_P(
    RegistryFile, AppendedSection,
    ::testing::Values(Append{"", "A\\B", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A\\B]\n"},
                      Append{"[X]\n", "A", "\n[HKEY_LOCAL_MACHINE\\A]\n"},
                      Append{"[X]", "A", "\n\n[HKEY_LOCAL_MACHINE\\A]\n"},
                      Append{"[X]\n\n", "A", "[HKEY_LOCAL_MACHINE\\A]\n"},
                      Append{"[X]\r\n", "A", "\r\n[HKEY_LOCAL_MACHINE\\A]\r\n"},
                      Append{"[X]\r\n\r\n", "A", "[HKEY_LOCAL_MACHINE\\A]\r\n"},
                      Append{"[X]\r\n\"Y\"=\"1\"", "A", "\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n"}));

TEST(RegistryFile, AnAppendedSectionReadsBackAsTheSameKey) {
    // Names that would mean something else without the hive's name in front.
    for (const char* path : {"-Removed", "HKEY_CURRENT_USER\\Software", "HKEY_LOCAL_MACHINE"}) {
        std::string text = appendedSection("", kHive, path);
        RegistryHive hive = RegistryHive::parse(text, kHive);
        EXPECT_TRUE(hive.hasKey(path)) << path;
        EXPECT_EQ(hive.listedKeyCount(), 1u) << path;
    }
}

} // namespace
} // namespace cuentas
