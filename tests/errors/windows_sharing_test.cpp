// A table another Windows process holds without sharing: the open fails with the system's
// sharing violation, which the default handler settles quietly, raising the network-error
// flag for the program to see.
#include "platform/table/db_server.h"
#include "tests/errors/error_fixture.h"
#include "tests/support/file_holder.h"

namespace cuentas {
namespace {

class WindowsSharing : public testing::ErrorLayerTest {};

TEST_F(WindowsSharing, ATableHeldByAnotherProcessIsSettledQuietlyAsASharingViolation) {
    declareTableClasses();
    const std::string table = directory.file("NomBancos.dbf");
    testing::writeWhole(table, "whatever it holds");
    testing::ChildProcess holder = testing::holdExclusively(table);

    std::vector<Value> received;
    Value previousFunction = ErrorFunc(defErrorGenPointer());
    testing::ScopedErrorBlock block([&received](Arguments arguments) {
        received.push_back(arguments[0]);
        return DEFERROR(arguments[0]);
    });
    NetErr(false);
    Value name(table);
    Value server(CreateInstance(Symbol::intern("DBSERVER"), Arguments(&name, 1)));
    ErrorFunc(previousFunction);

    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(IVarGet(received[0], Symbol::intern("GENCODE")).asUnsigned(), 21u);
    EXPECT_EQ(IVarGet(received[0], Symbol::intern("OSCODE")).asUnsigned(), 32u);
    EXPECT_TRUE(NetErr());
    EXPECT_TRUE(os.errorBoxes.empty()) << "nothing shown";
    EXPECT_FALSE(std::filesystem::exists(logPath())) << "nothing logged";
    holder.closeInput();
    EXPECT_EQ(holder.wait(), 0);
}

} // namespace
} // namespace cuentas
