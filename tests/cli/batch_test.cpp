// Numbers on standard input: plain lines, CSV and JSON lines, and results that stream out
// while the input is still coming.
#include "tests/cli/cli_process.h"

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

TEST_F(Batch, ALineTooLongPassesThroughUncheckedAndTheBatchGoesOn) {
    const std::string longLine((1 << 20) + 10, '7');
    const CliOutcome check = run({"check"}, longLine + "\n21000418450200051332\n");
    EXPECT_EQ(check.out, longLine + ": line 1: longer than 1048576 bytes, not checked\n"
                                    "21000418450200051332: valid (CaixaBank, S.A.)\n");
    EXPECT_EQ(check.exitStatus, 1);
    const CliOutcome iban = run({"iban"}, "21000418450200051332\n" + longLine + "\n");
    EXPECT_EQ(iban.out, "ES9121000418450200051332\n\n");
    EXPECT_EQ(iban.err, "cuentas-cli: line 2: longer than 1048576 bytes, not checked\n");
    const CliOutcome json = run({"check", "--json"}, longLine);
    EXPECT_EQ(json.out, "{\"status\":\"too-long\",\"valid\":false,\"line\":1,\"length\":1048586,"
                        "\"message\":\"line 1: longer than 1048576 bytes, not checked\"}\n");
}

TEST_F(Batch, ACsvRecordTooLongPassesThroughUnchangedWithItsStatus) {
    // A valid number in a record over the limit keeps its fields; the record is not checked.
    const std::string longField((1 << 20) + 10, 'x');
    const std::string input = "nombre;cuenta;importe\r\n" + longField +
                              ";21000418450200051332;\"3\"\r\nLuis;21000418450200051332;3\r\n";
    const CliOutcome outcome = run({"check", "--csv", "--column", "cuenta"}, input);
    EXPECT_EQ(outcome.out, "nombre;cuenta;importe;status;compact;iban;entity;message;ccc\r\n" +
                               longField +
                               ";21000418450200051332;\"3\";too-long;;;;line 2: longer than "
                               "1048576 bytes, not checked;\r\n"
                               "Luis;21000418450200051332;3;valid;21000418450200051332;"
                               "ES9121000418450200051332;CaixaBank, S.A.;valid;"
                               "21000418450200051332\r\n");
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST_F(Batch, AnUnterminatedQuoteIsReportedOnItsLineAndTheBatchGoesOn) {
    // As filed: the open quote took the rest of the file, and the results went inside it.
    const CliOutcome outcome = run({"check", "--csv"}, "cuenta,x\n"
                                                       "2100 0418 45 0200051332,\"abc\n"
                                                       "2100 0418 46 0200051332,2\n");
    EXPECT_EQ(outcome.out,
              "cuenta,x,status,compact,iban,entity,message,ccc\n"
              "2100 0418 45 0200051332,\"abc\",unterminated-quote,,,,\"line 2: the quote opened "
              "on line 2 never closes; the record was taken to end with that line, not "
              "checked\",\n"
              "2100 0418 46 0200051332,2,account-digit,,,,\"the second control digit (over the "
              "account) is 6, it should be 5\",\n");
    EXPECT_EQ(outcome.exitStatus, 1);
    const CliOutcome json = run({"check", "--csv", "--json"}, "\"a\nb\",\"c\n2,3\n");
    EXPECT_EQ(json.out, "{\"status\":\"unterminated-quote\",\"valid\":false,\"line\":1,\"input\":"
                        "\"\\\"a\\u000ab\\\",\\\"c\",\"quote_line\":2,\"message\":\"line 1: the "
                        "quote opened on line 2 never closes; the record was taken to end with "
                        "that line, not checked\"}\n"
                        "{\"status\":\"length\",\"valid\":false,\"line\":3,\"input\":\"2\","
                        "\"length_given\":1,\"length_expected\":20,\"message\":\"1 digit given, "
                        "20 expected\"}\n");
}

TEST_F(Batch, CrLfAndCrLfAreEachALineEndAndEachLineKeepsItsOwn) {
    // Lines ending in a lone CR, as spreadsheets write "CSV for Macintosh"; a stray CR inside
    // a CR LF file ends its line too.
    const CliOutcome mac = run({"check", "--csv"}, "cuenta\r2100 0418 45 0200051332\r"
                                                   "2100 0418 46 0200051332\r");
    EXPECT_EQ(mac.out, "cuenta,status,compact,iban,entity,message,ccc\r"
                       "2100 0418 45 0200051332,valid,21000418450200051332,"
                       "ES9121000418450200051332,\"CaixaBank, S.A.\",valid,21000418450200051332\r"
                       "2100 0418 46 0200051332,account-digit,,,,\"the second control digit "
                       "(over the account) is 6, it should be 5\",\r");
    EXPECT_EQ(mac.exitStatus, 1);
    const CliOutcome stray = run({"ccc"}, "ES9121000418450200051332\r\n"
                                          "2100 0418 45 0200051332\r2100-0418-45-0200051332\r\n"
                                          "ES91 2100 0418 4502 0005 1332");
    EXPECT_EQ(stray.out, "21000418450200051332\r\n21000418450200051332\r"
                         "21000418450200051332\r\n21000418450200051332\r\n");
    EXPECT_EQ(stray.exitStatus, 0);
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
              "nombre;Cuenta;importe;status;compact;iban;entity;message;ccc\r\n"
              "\"P\xC3\xA9rez; Juan\";2100 0418 45 0200051332;10,5;valid;21000418450200051332;"
              "ES9121000418450200051332;CaixaBank, S.A.;valid;21000418450200051332\r\n"
              "\r\n"
              "Ana;\"2100 0418 46 0200051332\";3;account-digit;;;;the second control digit (over "
              "the account) is 6, it should be 5;\r\n"
              "\"Luis \"\"el\"\"\r\nsegundo\";ES91 2100 0418 4502 0005 1332;7;valid;"
              "ES9121000418450200051332;ES9121000418450200051332;CaixaBank, S.A.;valid;"
              "21000418450200051332\r\n"
              "Solo;missing-field;;;;line 7: the number should be in field 2, the record has 1;"
              "\r\n"
              "Eva;2100 04?8 45 0200051332;1;recovered;21000418450200051332;"
              "ES9121000418450200051332;CaixaBank, S.A.;recovered as 2100 0418 45 0200051332 "
              "with 1 at position 8;21000418450200051332\r\n");
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
         "\"CaixaBank, S.A.\",valid,21000418450200051332\n"},
        // A header found by position; the separator is the most frequent one.
        {{"--column", "2"},
         "id;cuenta\n1;ES9121000418450200051332\n",
         "id;cuenta;status;compact;iban;entity;message;ccc\n"
         "1;ES9121000418450200051332;valid;ES9121000418450200051332;ES9121000418450200051332;"
         "CaixaBank, S.A.;valid;21000418450200051332\n"},
        {{"--separator", "tab", "--column", "2"},
         "Ana\t21000418450200051332\n",
         "Ana\t21000418450200051332\tvalid\t21000418450200051332\tES9121000418450200051332\t"
         "CaixaBank, S.A.\tvalid\t21000418450200051332\n"},
        // A first line without the column and without digits is a header all the same.
        {{"--column", "7"},
         "a,b,c\n1,2,3\n",
         "a,b,c,status,compact,iban,entity,message,ccc\n"
         "1,2,3,missing-field,,,,\"line 2: the number should be in field 7, the record has "
         "3\",\n"},
        // A message holding the separator and a name holding a quote are quoted.
        {{},
         "2100 0418 46 0200051332\n",
         "2100 0418 46 0200051332,account-digit,,,,\"the second control digit (over the "
         "account) is 6, it should be 5\",\n"},
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

TEST_F(Batch, AColumnIsFoundByNameAmongManyAsByPosition) {
    std::string header;
    std::string row;
    for (int i = 1; i <= 20000; ++i) {
        header += "c" + std::to_string(i) + ",";
        row += std::to_string(i % 10) + ",";
    }
    const std::string input = header + "cuenta\n" + row + "21000418450200051332\n" + row + "2100\n";
    const CliOutcome byName = run({"check", "--csv", "--column", "CUENTA"}, input);
    const CliOutcome byPosition = run({"check", "--csv", "--column", "20001"}, input);
    EXPECT_EQ(byName.out, byPosition.out);
    EXPECT_NE(byName.out.find("\n" + row + "21000418450200051332,valid,21000418450200051332,"),
              std::string::npos);
    EXPECT_EQ(byName.exitStatus, 1);
}

TEST_F(Batch, JsonLinesCarryTheFindingsFacts) {
    const CliOutcome outcome = run({"check", "--json"}, "21000418450200051332\n"
                                                        " \n"
                                                        "2100 0418 46 0200051332\n"
                                                        "\"\\\x01\n"
                                                        "2100 04?8 45 0200051332\n");
    EXPECT_EQ(outcome.out,
              "{\"status\":\"valid\",\"valid\":true,\"line\":1,\"input\":\"21000418450200051332\","
              "\"compact\":\"21000418450200051332\",\"iban\":\"ES9121000418450200051332\","
              "\"ccc\":\"21000418450200051332\",\"control_digits\":\"45\",\"bank\":\"2100\","
              "\"entity\":\"CaixaBank, S.A.\",\"bic\":\"CAIXESBBXXX\",\"message\":\"valid\"}\n"
              "{\"status\":\"blank\",\"valid\":false,\"line\":2,\"input\":\" \",\"message\":"
              "\"blank line\"}\n"
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
    ChildStreams pipes;
    pipes.pipeInput = pipes.pipeOutput = true;
    ChildProcess cli(CUENTAS_CLI, {"--table", registerFile, "ccc"},
                     std::vector<std::string>{"LANG=C"}, pipes);
    // The limit only keeps a broken build from hanging the test.
    constexpr auto kLimit = std::chrono::seconds(30);
    ASSERT_TRUE(cli.writeInput("ES91 2100 0418 4502 0005 1332\n"));
    EXPECT_EQ(cli.readOutputLine(kLimit), "21000418450200051332");
    ASSERT_TRUE(cli.writeInput("2100-0418-45-0200051332\n"));
    EXPECT_EQ(cli.readOutputLine(kLimit), "21000418450200051332");
    cli.closeInput();
    EXPECT_EQ(cli.wait(), 0);
}

} // namespace
} // namespace cuentas::testing
