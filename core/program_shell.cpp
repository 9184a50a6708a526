#include "core/program_shell.h"

#include <csignal>
#include <exception>
#include <new>
#include <ostream>

#include "core/stop_signals.h"
#include "core/temporary_names.h"
#include "core/version.h"

namespace kova {

namespace {

constexpr ProgramOption kHelpOption{"--help", false, false};
constexpr ProgramOption kVersionOption{"--version", false, false};

const ProgramOption* findOption(std::span<const ProgramOption> options, std::string_view name) {
    if (name == kHelpOption.name) return &kHelpOption;
    if (name == kVersionOption.name) return &kVersionOption;
    for (const ProgramOption& option : options) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

extern "C" void removeTemporaryFilesAndStop(int signalNumber) {
    temporary_names::removeAll();
    // The signal is held until the handler returns; it then ends the process as it would
    // have without the handler, so the parent sees the signal.
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

}  // namespace

bool parseCommandLine(std::span<const ProgramOption> options, const std::vector<std::string>& arguments,
                      CommandLine& line, std::string& problem) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            line.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h") {
            line.help = true;
            continue;
        }
        const std::size_t equals = argument[1] == '-' ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const ProgramOption* option = argument[1] == '-' ? findOption(options, name) : nullptr;
        if (option == nullptr) {
            problem = "unknown option " + name;
            return false;
        }
        if (!option->takesValue) {
            if (equals != std::string::npos) {
                problem = name + " takes no value";
                return false;
            }
            if (option == &kHelpOption) line.help = true;
            else if (option == &kVersionOption) line.version = true;
            else line.options.push_back({name, ""});
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            problem = name + " needs a value";
            return false;
        }
        if (value.empty() && option->needsText) {
            problem = name + " needs a non-empty value";
            return false;
        }
        line.options.push_back({name, std::move(value)});
    }
    return true;
}

ProgramShell::ProgramShell(const ProgramInterface& program, std::ostream& out, std::ostream& err)
    : program_(program), out_(out), err_(err) {}

int ProgramShell::run(const std::vector<std::string>& arguments,
                      const std::function<int(const CommandLine&)>& body) const {
    int status = kExitFailure;
    try {
        CommandLine line;
        std::string problem;
        if (!parseCommandLine(program_.options, arguments, line, problem)) return refuseCommandLine(problem);
        if (line.help) {
            program_.printHelp(out_);
            status = kExitDone;
        } else if (line.version) {
            out_ << program_.name << ' ' << kVersion << '\n';
            status = kExitDone;
        } else {
            status = body(line);
        }
    } catch (const std::bad_alloc&) {
        status = fail("out of memory");
    } catch (const std::exception& failure) {
        status = fail(failure.what());
    } catch (...) {
        status = fail("stopped by an unexpected failure");
    }
    return finish(status);
}

int ProgramShell::finish(int status) const {
    if (status == kExitCommandLine) return status;
    out_.flush();
    if (out_) return status;
    try {
        return fail("write failed for the standard output");
    } catch (...) {
        return kExitFailure;
    }
}

int ProgramShell::refuseCommandLine(std::string_view problem) const {
    err_ << program_.name << ": " << problem << '\n' << program_.usage << std::endl;
    return kExitCommandLine;
}

int ProgramShell::fail(std::string_view message) const {
    warn(message);
    return kExitFailure;
}

void ProgramShell::warn(std::string_view message) const { err_ << program_.name << ": " << message << std::endl; }

std::vector<std::string> programArguments(int argc, const char* const* argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void prepareProgramProcess() {
    std::signal(SIGPIPE, SIG_IGN);
    // A file that reaches the process's size limit (ulimit -f) is a full disk to the program:
    // the write fails and is reported, and the temporary files go. The signal would end the
    // process at once and leave them.
    std::signal(SIGXFSZ, SIG_IGN);
    struct sigaction stop {};
    stop.sa_handler = removeTemporaryFilesAndStop;
    stop.sa_mask = stopSignalSet();
    for (const int signalNumber : kStopSignals) {
        struct sigaction previous {};
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        sigaction(signalNumber, &stop, nullptr);
    }
}

}  // namespace kova
