#pragma once
// DBSERVER, the runtime's table class over .dbf files, with the default table driver
// setting and DbCloseAll. A table is read whole in one pass when it opens and is never written.

#include "platform/runtime/object.h"
#include "platform/table/dbf_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cuentas {

// The name of the one table driver there is.
inline constexpr const char* kTableDriver = "DBFCDX";

// Declares DBSERVER into the class registry: INIT (file name), CLOSE, RECCOUNT, EOF, BOF,
// RECNO, DELETED, FIELDGET (field symbol), SKIP (count, default 1) and GOTOP. RECCOUNT, EOF,
// BOF, RECNO and DELETED are also read-only properties. The first call also registers
// DbCloseAll as the runtime's table closer (closeAllTables). Declaring twice changes nothing.
void declareTableClasses();

// The default table driver. Naming any driver but "DBFCDX" (in any letter case) raises an
// error through the error block and leaves the setting as it was. Returns the previous name.
std::string RddSetDefault();
std::string RddSetDefault(const std::string& driver);

// The runtime path a DBSERVER opens for `fileName`: ".dbf" added where the name has no
// extension, and a bare or relative name taken in the current directory.
std::string tablePath(const std::string& fileName);

// Closes every open DBSERVER; the error handler calls it before the process ends.
// Returns TRUE.
bool DbCloseAll();

// A table opened from a file. Errors are raised through the error block with subsystem
// "DBFCDX"; a table that could not be opened behaves as a closed, empty one.
class DbServer : public Object {
public:
    explicit DbServer(const ClassInfo& classInfo);
    ~DbServer() override;

    // INIT. A bare name is looked for in the process's current directory; a name without an
    // extension gets ".dbf". The file is read in one pass (readDbfFile) and the table is
    // positioned on its first record. A missing or unreadable file, or one that is not a
    // regular file, raises an open error (21, with the OS error); a damaged one corruption
    // (31); one whose records would exceed kMaxTableRecordBytes memory exhausted (12). Each
    // may be retried (the file is read again) or defaulted (the table stays closed).
    void open(const std::string& fileName);
    void close();
    bool isOpen() const { return image_.has_value(); }

    // RECCOUNT; 0 when closed.
    std::uint32_t recordCount() const;
    // RECNO: the current record from 1; recordCount() + 1 at end of file; 0 when closed.
    std::uint32_t recordNumber() const;
    // EOF: after SKIP past the last record, at once for an empty or closed table.
    bool atEnd() const;
    // BOF: after SKIP before the first record, at once for an empty or closed table.
    bool atBeginning() const;
    // DELETED: whether the current record carries the deletion mark. Deleted records are
    // read like any other.
    bool isDeleted() const;
    // SKIP: moves `count` records (negative: backwards), stopping at either end.
    void skip(std::int64_t count);
    // GOTOP: back to the first record.
    void goTop();

    // FIELDGET: the current record's field, by name in any letter case, converted by its type;
    // a character field exactly as stored. At end of file every field reads as blank. A
    // field the table lacks raises an error once per server and field; later reads give the
    // error block's answer to it (nil after "default"). nil when the table is closed.
    Value fieldGet(Symbol field);
    // The text of a character field: as fieldGet, but a field of another type is an error too
    // (data type 29, raised once per server and field), and the result is always a text.
    // Reading a field whose position is known is a short search and a reference to the
    // table's bytes: no name is compared and nothing is copied.
    Text fieldText(Symbol field);

    // The position of a character field, for reading it record by record with
    // fieldText(position). When the table lacks the field, or it is of another type or of
    // another width than `width` (when given), the field's error (as fieldText raises it) is
    // raised now, once, before any record is read, and nothing comes back; nothing, without
    // an error, when the table is closed. A field refused so reads as fieldText(field)
    // reads a field the table lacks: as the error block's answer.
    std::optional<std::size_t> characterField(Symbol field,
                                              std::optional<std::uint32_t> width = {});
    // The field at a position of the current record as a text sharing the table's bytes:
    // blanks at end of file, the empty text when closed.
    Text fieldText(std::size_t position) const;

    // The file name as opened (extension included) and the full runtime path looked for.
    const std::string& fileName() const { return fileName_; }
    const std::string& path() const { return path_; }
    // The parsed table, while open.
    const DbfImage* image() const { return image_ ? &*image_ : nullptr; }

private:
    std::optional<std::size_t> findField(Symbol field, bool characterOnly,
                                         std::optional<std::uint32_t> width = {});
    std::optional<std::size_t> lookUpField(Symbol field);
    Value reportFieldError(Symbol field, const std::string& description, std::uint32_t genCode,
                           std::uint32_t typeRequired);

    std::string fileName_;
    std::string path_;
    std::optional<DbfImage> image_;
    std::uint32_t record_ = 0;
    bool beginning_ = true;
    // Field errors already raised, with the error block's answer, so that a loop over every
    // record raises each one once.
    std::unordered_map<Symbol, Value> fieldErrors_;
    // The position of each field asked for so far: a loop over the records finds its fields
    // by symbol without comparing their names again.
    std::vector<std::pair<Symbol, std::optional<std::size_t>>> fieldPositions_;
};

} // namespace cuentas
