// Numbers on standard input: plain lines, CSV and JSON lines, and results that stream out
// while the input is still coming.
#include "tests/cli/cli_process.h"

#include <poll.h>

namespace cuentas::testing {
namespace {

class Batch : public CliTest {};

TEST_F(Batch, PlainLinesKeepTheirPlaceAndTheirLineEnds) {
    const CliOutcome outcome = run({"iban"}, "21000418450200051332\r\n"
                                             "\r\n"
                                             "2100 0418 46 0200051332\n"
                                             "   \n"
                                             "ES91 2100 0418 4502 0005 1332");
    EXPECT_EQ(outcome.out, "ES9121000418450200051332\r\n"
                           "\r\n"
                           "\n"
                           "\n"
                           "ES9121000418450200051332\n");
    EXPECT_EQ(outcome.err, "cuentas-cli: line 3: 2100 0418 46 0200051332: the second control "
                           "digit (over the account) is 6, it should be 5\n");
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST_F(Batch, ADashReadsStandardInputBetweenTheArguments) {
    const CliOutcome outcome =
        run({"ccc", "ES9121000418450200051332", "-", "2100-0418-45-0200051332"},
            "\xEF\xBB\xBF"
            "2100 0418 45 0200051332\n");
    EXPECT_EQ(outcome.out, "21000418450200051332\n21000418450200051332\n21000418450200051332\n");
    EXPECT_EQ(outcome.exitStatus, 0);
}

TEST_F(Batch, ALineTooLongIsOneBadLineAndTheBatchGoesOn) {
    const std::string longLine((1 << 20) + 10, '7');
    const CliOutcome outcome = run({"check"}, longLine + "\n21000418450200051332\n");
    EXPECT_EQ(outcome.out, ": line longer than 1048576 bytes\n"
                           "21000418450200051332: valid (CaixaBank, S.A.)\n");
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST_F(Batch, ACsvRecordTooLongKeepsTheFileSeparatorAndColumns) {
    const std::string longRecord((1 << 20) + 10, '7');
    const std::string input =
        "nombre;cuenta;importe\n" + longRecord + "\nLuis;21000418450200051332;3\n";
    const CliOutcome outcome = run({"check", "--csv", "--column", "cuenta"}, input);
    EXPECT_EQ(outcome.out, "nombre;cuenta;importe;status;compact;iban;entity;message\n"
                           ";;;length;;;;line longer than 1048576 bytes\n"
                           "Luis;21000418450200051332;3;valid;21000418450200051332;"
                           "ES9121000418450200051332;CaixaBank, S.A.;valid\n");
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST_F(Batch, CsvPassesEveryColumnThroughAndAppendsTheResults) {
    // A header chosen by name, a byte-order mark, CR LF, quoted fields holding separators,
    // quotes and a line break, a blank line, a bad line amid good ones, a short line.
    const std::string input = "\xEF\xBB\xBF"
                              "nombre;Cuenta;importe\r\n"
                              "\"P\xC3\xA9rez; Juan\";2100 0418 45 0200051332;10,5\r\n"
                              "\r\n"
                              "Ana;\"2100 0418 46 0200051332\";3\r\n"
                              "\"Luis \"\"el\"\"\r\nsegundo\";ES91 2100 0418 4502 0005 1332;7\r\n"
                              "Solo\r\n"
                              "Eva;2100 04?8 45 0200051332;1\r\n";
    const CliOutcome outcome = run({"check", "--csv", "--column", "cuenta"}, input);
    EXPECT_EQ(outcome.out,
              "\xEF\xBB\xBF"
              "nombre;Cuenta;importe;status;compact;iban;entity;message\r\n"
              "\"P\xC3\xA9rez; Juan\";2100 0418 45 0200051332;10,5;valid;21000418450200051332;"
              "ES9121000418450200051332;CaixaBank, S.A.;valid\r\n"
              "\r\n"
              "Ana;\"2100 0418 46 0200051332\";3;account-digit;;;;the second control digit (over "
              "the account) is 6, it should be 5\r\n"
              "\"Luis \"\"el\"\"\r\nsegundo\";ES91 2100 0418 4502 0005 1332;7;valid;"
              "ES9121000418450200051332;ES9121000418450200051332;CaixaBank, S.A.;valid\r\n"
              "Solo;empty;;;;\"fields in the line: 1; the number should be in field 2\"\r\n"
              "Eva;2100 04?8 45 0200051332;1;recovered;21000418450200051332;"
              "ES9121000418450200051332;CaixaBank, S.A.;recovered as 2100 0418 45 0200051332 "
              "with 1 at position 8\r\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST_F(Batch, CsvFindsTheHeaderAndTheSeparatorByItself) {
    struct Case {
        std::vector<std::string> options;
        std::string input;
        std::string out;
    };
    const Case cases[] = {
        // No header: the first line's number column holds digits.
        {{},
         "21000418450200051332,Ana\n",
         "21000418450200051332,Ana,valid,21000418450200051332,ES9121000418450200051332,"
         "\"CaixaBank, S.A.\",valid\n"},
        // A header found by position; the separator is the most frequent one.
        {{"--column", "2"},
         "id;cuenta\n1;21000418450200051332\n",
         "id;cuenta;status;compact;iban;entity;message\n"
         "1;21000418450200051332;valid;21000418450200051332;ES9121000418450200051332;"
         "CaixaBank, S.A.;valid\n"},
        {{"--separator", "tab", "--column", "2"},
         "Ana\t21000418450200051332\n",
         "Ana\t21000418450200051332\tvalid\t21000418450200051332\tES9121000418450200051332\t"
         "CaixaBank, S.A.\tvalid\n"},
        // A message holding the separator and a name holding a quote are quoted.
        {{},
         "2100 0418 46 0200051332\n",
         "2100 0418 46 0200051332,account-digit,,,,\"the second control digit (over the "
         "account) is 6, it should be 5\"\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"check", "--csv"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliOutcome outcome = run(arguments, c.input);
        EXPECT_EQ(outcome.out, c.out) << c.input;
    }
    const CliOutcome missing = run({"check", "--csv", "--column", "iban"}, "nombre,cuenta\n");
    EXPECT_EQ(missing.err, "cuentas-cli: no column 'iban' in the header\n");
    EXPECT_EQ(missing.exitStatus, 2);
}

TEST_F(Batch, JsonLinesCarryTheFindingsFacts) {
    const CliOutcome outcome = run({"check", "--json"}, "21000418450200051332\n"
                                                        "\n"
                                                        "2100 0418 46 0200051332\n"
                                                        "\"\\\x01\n"
                                                        "2100 04?8 45 0200051332\n");
    EXPECT_EQ(outcome.out,
              "{\"status\":\"valid\",\"valid\":true,\"line\":1,\"input\":\"21000418450200051332\","
              "\"compact\":\"21000418450200051332\",\"iban\":\"ES9121000418450200051332\","
              "\"ccc\":\"21000418450200051332\",\"control_digits\":\"45\",\"bank\":\"2100\","
              "\"entity\":\"CaixaBank, S.A.\",\"bic\":\"CAIXESBBXXX\",\"message\":\"valid\"}\n"
              "{\"status\":\"account-digit\",\"valid\":false,\"line\":3,\"input\":\"2100 0418 46 "
              "0200051332\",\"digits_written\":\"46\",\"digits_expected\":\"45\",\"message\":\"the "
              "second control digit (over the account) is 6, it should be 5\"}\n"
              "{\"status\":\"chars\",\"valid\":false,\"line\":4,\"input\":\"\\\"\\\\\\u0001\","
              "\"position\":1,\"message\":\"character '\\\"' at position 1 is not a digit\"}\n"
              "{\"status\":\"recovered\",\"valid\":true,\"line\":5,\"input\":\"2100 04?8 45 "
              "0200051332\",\"compact\":\"21000418450200051332\",\"iban\":"
              "\"ES9121000418450200051332\",\"ccc\":\"21000418450200051332\",\"control_digits\":"
              "\"45\",\"bank\":\"2100\",\"entity\":\"CaixaBank, S.A.\",\"bic\":\"CAIXESBBXXX\","
              "\"recovered\":[{\"position\":8,\"digit\":\"1\"}],\"message\":\"recovered as 2100 "
              "0418 45 0200051332 with 1 at position 8\"}\n");
}

// Lines fed one at a time through a pipe: each result must come out before the input ends.
TEST_F(Batch, ResultsStreamOutBeforeTheInputEnds) {
    int toCli[2];
    int fromCli[2];
    ASSERT_EQ(::pipe(toCli), 0);
    ASSERT_EQ(::pipe(fromCli), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toCli[0], 0);
        ::dup2(fromCli[1], 1);
        for (int fd : {toCli[0], toCli[1], fromCli[0], fromCli[1]}) {
            ::close(fd);
        }
        char* const argv[] = {const_cast<char*>(CUENTAS_CLI), const_cast<char*>("--table"),
                              const_cast<char*>(registerFile.c_str()), const_cast<char*>("ccc"),
                              nullptr};
        char* const envp[] = {const_cast<char*>("LANG=C"), nullptr};
        ::execve(CUENTAS_CLI, argv, envp);
        ::_exit(127);
    }
    ::close(toCli[0]);
    ::close(fromCli[1]);
    // Waits for one result line; the limit only keeps a broken build from hanging the test.
    const auto readLine = [&] {
        std::string line;
        char c = 0;
        pollfd ready{fromCli[0], POLLIN, 0};
        while (::poll(&ready, 1, 30000) == 1 && ::read(fromCli[0], &c, 1) == 1 && c != '\n') {
            line.push_back(c);
        }
        return line;
    };
    const std::string first = "ES91 2100 0418 4502 0005 1332\n";
    ASSERT_EQ(::write(toCli[1], first.data(), first.size()), ssize_t(first.size()));
    EXPECT_EQ(readLine(), "21000418450200051332");
    const std::string second = "2100-0418-45-0200051332\n";
    ASSERT_EQ(::write(toCli[1], second.data(), second.size()), ssize_t(second.size()));
    EXPECT_EQ(readLine(), "21000418450200051332");
    ::close(toCli[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(fromCli[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace cuentas::testing
