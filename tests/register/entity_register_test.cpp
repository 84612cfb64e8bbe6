#include "register/entity_register.h"

#include "platform/os/paths.h"
#include "tests/register/register_layout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace cuentas {
namespace {

using testing::DbfBuilder;
using testing::registerLayout;

EntityRegister parse(const DbfBuilder& builder) {
    DbfResult<DbfImage> image = DbfImage::parse(builder.build());
    EXPECT_TRUE(image.ok()) << image.error();
    RegisterResult result = EntityRegister::fromTable(image.value());
    if (auto* error = std::get_if<RegisterError>(&result)) {
        ADD_FAILURE() << error->detail;
    }
    return std::get<EntityRegister>(std::move(result));
}

RegisterError parseError(const DbfBuilder& builder) {
    DbfResult<DbfImage> image = DbfImage::parse(builder.build());
    EXPECT_TRUE(image.ok()) << image.error();
    RegisterResult result = EntityRegister::fromTable(image.value());
    EXPECT_TRUE(std::holds_alternative<RegisterError>(result));
    return std::holds_alternative<RegisterError>(result) ? std::get<RegisterError>(result)
                                                         : RegisterError{};
}

TEST(EntityRegister, ReadsEveryFieldOfTheRegisterLayout) {
    const EntityRegister entities =
        parse(registerLayout()
                  .record({"0049", "Banco Santander", "vigente", "    ", "BSCHESMMXXX",
                           "Banco Santander, S.A."})
                  .record({"0030",
                           "Banco Espa\xF1ol de Cr\xE9"
                           "dito (absorbida por Banco Santander)",
                           "baja", "0049", "",
                           "Banco Espa\xF1ol de Cr\xE9"
                           "dito, S.A."})
                  .record({"1234", "Entidad rara", "  BAJA ", "", "", ""}));
    ASSERT_EQ(entities.entities().size(), 3u);
    const Entity* santander = entities.find("0049");
    ASSERT_NE(santander, nullptr);
    EXPECT_EQ(santander->code, 49u);
    EXPECT_EQ(santander->name, "Banco Santander");
    EXPECT_EQ(santander->legalName, "Banco Santander, S.A.");
    EXPECT_EQ(santander->displayName(), "Banco Santander, S.A.");
    EXPECT_EQ(santander->state, EntityState::Current);
    EXPECT_EQ(santander->successor, std::nullopt);
    EXPECT_EQ(santander->bic, "BSCHESMMXXX");
    const Entity* banesto = entities.find(30);
    ASSERT_NE(banesto, nullptr);
    EXPECT_EQ(banesto->state, EntityState::Withdrawn);
    EXPECT_EQ(banesto->successor, 49u);
    EXPECT_EQ(banesto->bic, "");
    EXPECT_EQ(banesto->name, "Banco Espa\xF1ol de Cr\xE9"
                             "dito (absorbida por Banco Santander)");
    EXPECT_EQ(entities.find(1234)->state, EntityState::Withdrawn);
    const auto code = banesto->codeText();
    EXPECT_EQ(std::string(code.data(), code.size()), "0030");
    EXPECT_EQ(entities.date().year, 2024);
    EXPECT_EQ(entities.date().month, 5);
    EXPECT_EQ(entities.date().day, 17);
}

TEST(EntityRegister, AnOldTableWithCodeAndNameOnlyStillServes) {
    // Field names in another letter case, and a table in another order with more fields.
    const EntityRegister entities = parse(DbfBuilder()
                                              .field("nombre", 'C', 40)
                                              .field("Otro", 'N', 5)
                                              .field("banco", 'C', 4)
                                              .record({"Banco de Sabadell", "    1", "0081"}));
    const Entity* sabadell = entities.find("0081");
    ASSERT_NE(sabadell, nullptr);
    EXPECT_EQ(sabadell->displayName(), "Banco de Sabadell");
    EXPECT_EQ(sabadell->state, EntityState::Unknown);
    EXPECT_EQ(sabadell->bic, "");
}

TEST(EntityRegister, LooksUpFourDigitCodesAsTheDialogDoes) {
    const EntityRegister entities = parse(registerLayout()
                                              .record({"0049", "Primero"})
                                              .record({"0049", "Duplicado"})
                                              .record({"81  ", "Sin ceros"})
                                              .record({"A081", "Letra"})
                                              .record({"9999", "Ultimo"}));
    EXPECT_EQ(entities.find("0049")->name, "Primero"); // the first of duplicates
    EXPECT_EQ(entities.find(9999)->name, "Ultimo");
    for (const char* absent : {"81", "0081", "A081", "49", "00490", ""}) {
        EXPECT_EQ(entities.find(absent), nullptr) << absent;
    }
    EXPECT_EQ(entities.find(10000), nullptr);
    EXPECT_EQ(entities.entities().size(), 2u); // unreachable records are left out
}

TEST(EntityRegister, SuccessorChainsEndAtTheCurrentEntityAMissingCodeOrARepeat) {
    const EntityRegister entities = parse(registerLayout()
                                              .record({"0001", "A", "baja", "0002"})
                                              .record({"0002", "B", "baja", "0003"})
                                              .record({"0003", "C", "vigente", ""})
                                              .record({"0004", "D", "baja", "0777"})
                                              .record({"0005", "E", "baja", "0006"})
                                              .record({"0006", "F", "baja", "0005"})
                                              .record({"0007", "G", "baja", "0007"})
                                              .record({"0008", "H", "baja", "xx"}));
    using Chain = std::vector<std::uint32_t>;
    EXPECT_EQ(entities.successors(*entities.find(1)), (Chain{2, 3}));
    EXPECT_EQ(entities.successors(*entities.find(3)), Chain{});
    EXPECT_EQ(entities.successors(*entities.find(4)), Chain{777});
    EXPECT_EQ(entities.successors(*entities.find(5)), Chain{6});
    EXPECT_EQ(entities.successors(*entities.find(7)), Chain{});
    EXPECT_EQ(entities.find(7)->successor, std::nullopt); // itself is nobody else
    EXPECT_EQ(entities.successors(*entities.find(8)), Chain{});
}

TEST(EntityRegister, RequiredFieldsMissingOrOfAnotherTypeOrWidthAreLayoutErrors) {
    struct Case {
        DbfBuilder table;
        const char* detail;
    };
    const Case cases[] = {
        {DbfBuilder().field("BANCO", 'C', 4), "no field NOMBRE"},
        {DbfBuilder().field("NOMBRE", 'C', 40), "no field BANCO"},
        {DbfBuilder().field("BANCO", 'N', 4).field("NOMBRE", 'C', 40),
         "field BANCO is of type N, not character"},
        {DbfBuilder().field("BANCO", 'C', 4).field("NOMBRE", 'C', 40).field("ESTADO", 'L', 1),
         "field ESTADO is of type L, not character"},
        // A code of another width can never be four digits: no lookup could find one.
        {DbfBuilder().field("banco", 'C', 6).field("NOMBRE", 'C', 40),
         "field BANCO is of width 6, not 4"},
        {DbfBuilder().field("BANCO", 'C', 0).field("NOMBRE", 'C', 40),
         "field BANCO is of width 0, not 4"},
    };
    for (const Case& c : cases) {
        const RegisterError error = parseError(c.table);
        EXPECT_EQ(error.kind, RegisterError::Kind::Layout);
        EXPECT_EQ(error.detail, c.detail);
    }
}

class RegisterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = std::filesystem::temp_directory_path() /
                    ("cuentas-register-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string place(const std::string& bytes) {
        const std::filesystem::path file = directory / "NomBancos.dbf";
        std::ofstream(file, std::ios::binary) << bytes;
        return runtimePath(file.string());
    }

    std::filesystem::path directory;
};

TEST_F(RegisterFileTest, ReadsTheTableFromItsFile) {
    RegisterResult result =
        EntityRegister::load(place(registerLayout().record({"2100", "CaixaBank"}).build()));
    ASSERT_TRUE(std::holds_alternative<EntityRegister>(result));
    EXPECT_EQ(std::get<EntityRegister>(result).find("2100")->name, "CaixaBank");
}

TEST_F(RegisterFileTest, AMissingOrDamagedFileSaysWhy) {
    RegisterResult missing = EntityRegister::load(runtimePath((directory / "nada.dbf").string()));
    ASSERT_TRUE(std::holds_alternative<RegisterError>(missing));
    EXPECT_EQ(std::get<RegisterError>(missing).kind, RegisterError::Kind::Open);
    EXPECT_EQ(std::get<RegisterError>(missing).detail, "file not found");

    const std::string cut = registerLayout().record({"2100", "CaixaBank"}).build().substr(0, 300);
    RegisterResult damaged = EntityRegister::load(place(cut));
    ASSERT_TRUE(std::holds_alternative<RegisterError>(damaged));
    EXPECT_EQ(std::get<RegisterError>(damaged).kind, RegisterError::Kind::Damaged);
    EXPECT_EQ(std::get<RegisterError>(damaged).detail,
              "record 1 is cut short: the file ends 75 bytes into it");
}

} // namespace
} // namespace cuentas
