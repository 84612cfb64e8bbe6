#include "cli/cli.h"

#include "cli/finding.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/report.h"
#include "cli/session.h"

#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"
#include "register/entity_register.h"

#include <optional>

namespace cuentas::cli {
namespace {

constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;
constexpr std::string_view kProgram = "cuentas-cli: ";

// `digits` with three short arguments takes them as bank, branch and account; codes of 20
// characters never fit there.
bool areParts(const std::vector<std::string>& numbers) {
    if (numbers.size() != 3) {
        return false;
    }
    for (const std::string& number : numbers) {
        if (number.size() > 10 || number == "-") {
            return false;
        }
    }
    return true;
}

std::string twoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

void registerError(Output& err, const Messages& messages, const std::string& file,
                   const RegisterError& error) {
    const Text text = error.kind == RegisterError::Kind::Open      ? Text::RegisterOpen
                      : error.kind == RegisterError::Kind::Damaged ? Text::RegisterDamaged
                                                                   : Text::RegisterLayout;
    err.append(kProgram);
    messages.append(err.buffer(), text, {file, error.detail});
    err.append("\n");
}

void version(Output& out, const Messages& messages, const std::string& file,
             const EntityRegister& entities) {
    const RegisterDate& date = entities.date();
    const std::string day = messages.format(
        Text::Date, {std::to_string(date.year), twoDigits(date.month), twoDigits(date.day)});
    out.append("cuentas-cli " CUENTAS_VERSION "\n");
    messages.append(out.buffer(), Text::VersionRegister,
                    {file, day, std::to_string(entities.entities().size())});
    out.append("\n");
}

// The installed register; one named from the program's folder ("..\\NomBancos.dbf": beside
// the folder the program lies in) is found from where the program is.
std::string installedRegister() {
    const std::string_view installed = CUENTAS_INSTALLED_REGISTER;
    if (!installed.starts_with("..\\")) {
        return std::string(installed);
    }
    std::string folder = WorkDir(); // the program's folder, ending in a backslash
    folder.pop_back();
    return folder.substr(0, folder.rfind('\\') + 1) + std::string(installed.substr(3));
}

// The register read unless --table names another: the build's own while this is the
// executable the build wrote, the installed one anywhere else.
std::string defaultRegister() {
    OperatingSystem& os = operatingSystem();
    FileStatus running;
    FileStatus built;
    const bool asBuilt = os.pathStatus(os.executablePath(), running) == 0 &&
                         os.pathStatus(CUENTAS_BUILT_CLI, built) == 0 &&
                         running.device == built.device && running.inode == built.inode;
    return asBuilt ? CUENTAS_REGISTER_FILE : installedRegister();
}

int finish(Output& out, Output& err, const Messages& messages, int status) {
    if (!out.flush()) {
        err.append(kProgram);
        messages.append(err.buffer(), Text::WriteError,
                        {osErrorText(osErrorFromSystem(out.error()))});
        err.append("\n");
        status = kRegisterOrIoError;
    }
    // Messages that could not be told leave the run incomplete, as they do in a batch.
    if (!err.flush()) {
        status = kRegisterOrIoError;
    }
    return status;
}

} // namespace

int run(const std::vector<std::string>& arguments) {
    const Messages messages(languageOfUser());
    Output out(kStandardOutput);
    Output err(kStandardError);
    const std::variant<Options, UsageError> parsed = parseOptions(arguments);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        err.append(kProgram);
        messages.append(err.buffer(), usage->text, {usage->argument});
        err.append("\n");
        err.append(messages.text(Text::TryHelp));
        err.append("\n");
        return finish(out, err, messages, kUsageError);
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        messages.append(out.buffer(), Text::Help, {defaultRegister()});
        return finish(out, err, messages, kAllValid);
    }
    std::optional<RegisterResult> loaded;
    const std::string file = options.table.empty() ? defaultRegister() : options.table;
    if (options.version || options.command != Command::Digits) {
        // A backslash in a name would read as a separator, and name another file.
        if (std::optional<std::string> fault = backslashFault(file)) {
            loaded = RegisterError{RegisterError::Kind::Open, *fault};
        } else {
            loaded = EntityRegister::load(runtimePath(file));
        }
        if (const auto* error = std::get_if<RegisterError>(&*loaded)) {
            registerError(err, messages, file, *error);
            return finish(out, err, messages, kRegisterOrIoError);
        }
    }
    const EntityRegister* entities = loaded ? &std::get<EntityRegister>(*loaded) : nullptr;
    if (options.version) {
        version(out, messages, file, *entities);
        return finish(out, err, messages, kAllValid);
    }
    const Examiner examiner(options.command, entities, options.strict);
    const Reporter reporter(messages, entities);
    Session session(options, messages, examiner, reporter, out, err);
    if (options.numbers.empty()) {
        session.standardInput();
    } else if (options.command == Command::Digits && areParts(options.numbers)) {
        session.parts(options.numbers[0], options.numbers[1], options.numbers[2]);
    } else {
        for (const std::string& number : options.numbers) {
            if (number != "-") {
                session.number(number);
            } else if (!session.standardInput()) {
                break;
            }
        }
    }
    return finish(out, err, messages, session.exitStatus());
}

} // namespace cuentas::cli
