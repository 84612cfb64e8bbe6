#include "platform/table/db_server.h"

#include "platform/os/paths.h"
#include "platform/runtime/raise.h"
#include "platform/table/dbf_file.h"
#include "platform/table/field_value.h"

#include <algorithm>
#include <vector>

namespace cuentas {
namespace {

// Open servers, so that DbCloseAll can reach them; a server leaves the list when it closes.
std::vector<DbServer*>& openServers() {
    static std::vector<DbServer*> servers;
    return servers;
}

std::string& defaultDriver() {
    static std::string driver = kTableDriver;
    return driver;
}

std::size_t lastSeparator(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string withExtension(const std::string& name) {
    return name.find('.', lastSeparator(name)) == std::string::npos ? name + ".dbf" : name;
}

// A bare or relative name lies in the current directory; "\dir\file" and "C:..." are whole.
std::string fullPath(const std::string& name) {
    bool whole = (!name.empty() && name.front() == '\\') || (name.size() > 1 && name[1] == ':');
    return whole ? name : CurrentDirectory() + name;
}

RuntimeError tableError(std::uint32_t genCode, const std::string& operation, Symbol function) {
    RuntimeError error;
    error.subsystem = kTableDriver;
    error.genCode = genCode;
    error.operation = operation;
    error.funcSym = function;
    return error;
}

} // namespace

std::string tablePath(const std::string& fileName) {
    return fullPath(withExtension(fileName));
}

DbServer::DbServer(const ClassInfo& classInfo) : Object(classInfo) {}

DbServer::~DbServer() {
    close();
}

void DbServer::open(const std::string& fileName) {
    close();
    fileName_ = withExtension(fileName);
    path_ = fullPath(fileName_);
    const std::string base = path_.substr(lastSeparator(path_));
    const std::string directory = path_.substr(0, lastSeparator(path_));
    static const Symbol kInit = Symbol::intern("DBSERVER:INIT");
    for (std::uint32_t tries = 1;; ++tries) {
        DbfResult<DbfImage> read = readDbfFile(path_);
        if (read.ok()) {
            image_ = std::move(read.value());
            openServers().push_back(this);
            goTop();
            return;
        }
        RuntimeError error;
        switch (read.fault()) {
        case DbfFault::Unreadable:
            error = tableError(gencode::kOpen, "Open table", kInit);
            error.osCode = read.osError();
            error.description = "Cannot open " + base + " in " + directory + ": " + read.error();
            break;
        case DbfFault::TooLarge:
            error = tableError(gencode::kMemory, "Read table", kInit);
            error.description = base + ": " + read.error();
            error.maxSize = static_cast<std::uint32_t>(kMaxTableRecordBytes);
            break;
        case DbfFault::Damaged:
            error = tableError(gencode::kCorruption, "Read table", kInit);
            error.description = base + ": " + read.error();
            break;
        }
        error.fileName = path_;
        error.args = {Value(fileName)};
        error.tries = tries;
        error.canRetry = true;
        error.canDefault = true;
        if (!answerIsRetry(raiseError(error), error)) {
            return;
        }
    }
}

void DbServer::close() {
    auto& servers = openServers();
    servers.erase(std::remove(servers.begin(), servers.end(), this), servers.end());
    image_.reset();
    record_ = 0;
    beginning_ = true;
    fieldErrors_.clear();
    fieldPositions_.clear();
}

std::uint32_t DbServer::recordCount() const {
    return image_ ? image_->recordCount() : 0;
}

std::uint32_t DbServer::recordNumber() const {
    return image_ ? record_ : 0;
}

bool DbServer::atEnd() const {
    return !image_ || record_ > image_->recordCount();
}

bool DbServer::atBeginning() const {
    return !image_ || beginning_;
}

bool DbServer::isDeleted() const {
    return !atEnd() && image_->isDeleted(record_ - 1);
}

void DbServer::goTop() {
    record_ = 1;
    beginning_ = recordCount() == 0;
}

void DbServer::skip(std::int64_t count) {
    if (!image_) {
        return;
    }
    const std::int64_t last = image_->recordCount();
    const std::int64_t target = std::int64_t{record_} + count;
    beginning_ = target < 1 || last == 0;
    record_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(target, 1, last + 1));
}

Value DbServer::reportFieldError(Symbol field, const std::string& description,
                                 std::uint32_t genCode, std::uint32_t typeRequired) {
    static const Symbol kFieldGet = Symbol::intern("DBSERVER:FIELDGET");
    RuntimeError error = tableError(genCode, "Field access", kFieldGet);
    error.description = description;
    error.fileName = path_;
    error.args = {Value(field)};
    error.arg = field.name();
    error.argNum = 1;
    error.argType = static_cast<std::uint32_t>(Type::Symbol);
    error.argTypeReq = typeRequired;
    error.substituteType = static_cast<std::uint32_t>(Type::String);
    error.canDefault = true;
    error.canSubstitute = true;
    Value answer = raiseError(error);
    Value remembered = answerIsSubstitute(answer, error) ? answer : Value();
    fieldErrors_[field] = remembered;
    return remembered;
}

std::optional<std::size_t> DbServer::lookUpField(Symbol field) {
    for (const auto& [symbol, position] : fieldPositions_) {
        if (symbol == field) {
            return position;
        }
    }
    std::optional<std::size_t> position = image_->fieldIndex(field.name());
    fieldPositions_.emplace_back(field, position);
    return position;
}

std::optional<std::size_t> DbServer::findField(Symbol field, bool characterOnly,
                                               std::optional<std::uint32_t> width) {
    std::optional<std::size_t> index = lookUpField(field);
    const DbfField* descriptor = index ? &image_->fields()[*index] : nullptr;
    bool wrong = descriptor && characterOnly &&
                 (descriptor->type != 'C' || (width && descriptor->width != *width));
    // A character field refused once for its width stays refused for every text read.
    if (descriptor && !wrong && !(characterOnly && fieldErrors_.contains(field))) {
        return index;
    }
    if (!fieldErrors_.contains(field)) {
        const std::string base = fileName_.substr(lastSeparator(fileName_));
        if (!index) {
            reportFieldError(field, base + " has no field " + field.name(), gencode::kArgument, 0);
        } else {
            reportFieldError(field,
                             base + ": " + image_->characterField(field.name(), width).error(),
                             gencode::kDataType, static_cast<std::uint32_t>(Type::String));
        }
    }
    return std::nullopt;
}

Value DbServer::fieldGet(Symbol field) {
    if (!image_) {
        return Value();
    }
    std::optional<std::size_t> index = findField(field, false);
    if (!index) {
        return fieldErrors_[field];
    }
    const DbfField& descriptor = image_->fields()[*index];
    if (atEnd()) {
        return fieldValue(descriptor, std::string(descriptor.width, ' '));
    }
    return fieldValue(*image_, record_ - 1, *index);
}

Text DbServer::fieldText(Symbol field) {
    if (!image_) {
        return {};
    }
    std::optional<std::size_t> index = findField(field, true);
    return index ? fieldText(*index) : fieldErrors_[field].asText();
}

std::optional<std::size_t> DbServer::characterField(Symbol field,
                                                    std::optional<std::uint32_t> width) {
    return image_ ? findField(field, true, width) : std::nullopt;
}

Text DbServer::fieldText(std::size_t position) const {
    if (!image_ || position >= image_->fields().size()) {
        return {};
    }
    if (atEnd()) {
        return Text(std::string(image_->fields()[position].width, ' '));
    }
    return image_->fieldText(record_ - 1, position);
}

std::string RddSetDefault() {
    return defaultDriver();
}

std::string RddSetDefault(const std::string& driver) {
    std::string previous = defaultDriver();
    if (sameFieldName(driver, kTableDriver)) {
        defaultDriver() = kTableDriver;
        return previous;
    }
    RuntimeError error =
        tableError(gencode::kArgument, "Set default driver", Symbol::intern("RDDSETDEFAULT"));
    error.description =
        "Unknown table driver " + driver + "; the only driver is " + std::string(kTableDriver);
    error.args = {Value(driver)};
    error.arg = driver;
    error.argNum = 1;
    error.argType = static_cast<std::uint32_t>(Type::String);
    error.canDefault = true;
    raiseError(error);
    return previous;
}

bool DbCloseAll() {
    // Closing removes a server from the list, so work on a copy.
    std::vector<DbServer*> servers = openServers();
    for (DbServer* server : servers) {
        server->close();
    }
    return true;
}

} // namespace cuentas
