// mosaikon-cli extract: every icon group of a program file (or the chosen ones) as an icon file.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <set>

#include "AtomicFile.h"
#include "CliCommon.h"
#include "FileBytes.h"
#include "FileError.h"
#include "OpenKinds.h"
#include "ProgramIconGroups.h"

namespace mosaikon::cli {

const char* const kExtractHelp =
    "Usage: mosaikon-cli extract PROGRAM [--out DIR] [--group N|NAME ...] [--list]\n"
    "\n"
    "Writes each icon group of PROGRAM (a PE32, PE32+ or NE program file or library) as an\n"
    "icon file: PROGRAM-NAME.ico for a named group, PROGRAM-N.ico for a numbered one.\n"
    "\n"
    "  --out DIR       write into DIR (default: the current folder)\n"
    "  --group N|NAME  only the group numbered N or named NAME; may be given again\n"
    "  --list          print the groups (with --group, those asked for), first the one the\n"
    "                  editor takes as 0, and write nothing\n"
    "\n"
    "Prints one line: how many icon files it wrote, and where.\n";

namespace {

struct ExtractOptions {
    std::string program;
    std::string outFolder = ".";
    std::vector<std::string> groups;
    bool list = false;
};

ExtractOptions parseExtract(const std::vector<std::string>& arguments) {
    ExtractOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--out" && hasValue) {
            options.outFolder = arguments[++i];
        } else if (argument == "--group" && hasValue) {
            options.groups.push_back(arguments[++i]);
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument.starts_with("-") && argument != "-") {
            throw CliFailure(kUsageError, "extract: unknown option or missing value: " + argument);
        } else if (options.program.empty()) {
            options.program = argument;
        } else {
            throw CliFailure(kUsageError, "extract: more than one program file given");
        }
    }
    if (options.program.empty()) {
        throw CliFailure(kUsageError, "extract: no program file given");
    }
    return options;
}

std::string nameOf(const ResourceName& name) {
    return name.text ? *name.text : std::to_string(name.number);
}

// Resource names compare without regard to ASCII case, as the system's loader compares them.
bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool groupChosen(const ResourceName& name, const std::vector<std::string>& chosen) {
    if (chosen.empty()) return true;
    return std::any_of(chosen.begin(), chosen.end(), [&name](const std::string& wanted) {
        return name.text ? sameName(*name.text, wanted) : wanted == std::to_string(name.number);
    });
}

// A name that comes from a file: only letters, digits, '.', '_' and '-' stay; every run of
// anything else becomes one '_'. Cut to a length every file system takes with the suffixes.
std::string safeName(const std::string& name) {
    std::string safe;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool kept = (u < 0x80 && std::isalnum(u)) || c == '.' || c == '_' || c == '-';
        if (kept) {
            safe += c;
        } else if (safe.empty() || safe.back() != '_') {
            safe += '_';
        }
    }
    safe = safe.substr(0, 100);
    return safe.empty() ? "_" : safe;
}

// "PROGRAM-NAME.ico", or with "-2", "-3", … before ".ico" when an earlier group took that name.
std::string fileNameFor(const std::string& program, const ResourceName& name,
                        std::set<std::string>& taken) {
    const std::string base = safeName(program) + "-" + safeName(nameOf(name));
    std::string candidate = base + ".ico";
    for (int n = 2; taken.contains(candidate); ++n) {
        candidate = base + "-" + std::to_string(n) + ".ico";
    }
    taken.insert(candidate);
    return candidate;
}

// Files are saved in batches, each made durable with one flush of the disk rather than two
// flushes per file; a batch keeps its files open until it is committed.
constexpr std::size_t kFilesPerBatch = 256;

// Commits `batch`, reporting each file that could not be saved; false when one could not.
// `saved` counts the files the batch saved.
bool commitReporting(AtomicFileBatch& batch, std::size_t added, std::size_t& saved) {
    const std::vector<FileError> failures = batch.commit();
    for (const FileError& failure : failures) {
        std::cerr << "mosaikon-cli: " << failure.what() << '\n';
    }
    saved += added - std::min(added, failures.size());
    return failures.empty();
}

// The one line that says what was written: "wrote 3 icon files to out/ (hh-101.ico ...
// hh-103.ico)".
std::string summary(std::size_t saved, const std::string& folder, const std::string& first,
                    const std::string& last) {
    std::string line = "wrote " + std::to_string(saved) +
                       (saved == 1 ? " icon file to " : " icon files to ") + folder;
    if (saved == 1) {
        line += " (" + first + ")";
    } else if (saved > 1) {
        line += " (" + first + " ... " + last + ")";
    }
    return line;
}

void listGroups(ProgramIconGroups& groups, const std::vector<std::string>& chosen,
                std::size_t& listed) {
    for (std::size_t i = 0; i < groups.count(); ++i) {
        const IconGroupDescription group = groups.describe(i);
        if (!groupChosen(group.name, chosen)) continue;
        ++listed;
        std::cout << i << '\t' << (group.name.text ? "name " : "number ") << nameOf(group.name)
                  << '\t' << group.images.size() << " images";
        if (group.problem) std::cout << "\tdamaged: " << group.problem->problem();
        std::cout << '\n';
    }
}

}  // namespace

int runExtract(const std::vector<std::string>& arguments) {
    const ExtractOptions options = parseExtract(arguments);
    try {
        FileBytes file(options.program);
        refuseEmptyFile(file);
        ProgramIconGroups groups(file);
        const std::string none =
            options.program + (options.groups.empty()
                                   ? " holds no icon group."
                                   : " holds none of the icon groups asked for.");
        if (options.list) {
            std::size_t listed = 0;
            listGroups(groups, options.groups, listed);
            if (listed == 0) {
                throw CliFailure(kNothingToExtract, none);
            }
            return kSuccess;
        }

        const std::string stem = std::filesystem::path(options.program).stem().native();
        std::set<std::string> taken;
        AtomicFileBatch batch;
        std::size_t batched = 0;
        std::size_t saved = 0;
        std::string first;
        std::string last;
        bool written = false;
        bool failed = false;
        for (std::size_t i = 0; i < groups.count(); ++i) {
            try {
                const ResourceName name = groups.name(i);
                if (!groupChosen(name, options.groups)) continue;
                const std::string fileName = fileNameFor(stem, name, taken);
                const std::filesystem::path target =
                    std::filesystem::path(options.outFolder) / fileName;
                batch.add(target.native(), groups.iconFile(i));
                written = true;
                (first.empty() ? first : last) = fileName;
                if (++batched == kFilesPerBatch) {
                    failed = !commitReporting(batch, batched, saved) || failed;
                    batched = 0;
                }
            } catch (const FileError& error) {
                std::cerr << "mosaikon-cli: " << error.what() << '\n';
                failed = true;
            }
        }
        failed = !commitReporting(batch, batched, saved) || failed;
        const int status = failed ? kFileFailure : written ? kSuccess : kNothingToExtract;
        if (status == kNothingToExtract) {
            throw CliFailure(kNothingToExtract, none);
        }
        if (saved > 0) {
            std::cout << summary(saved, options.outFolder, first, last.empty() ? first : last)
                      << '\n';
        }
        return status;
    } catch (const FileError& error) {
        throw CliFailure(kFileFailure, error.what());
    }
}

}  // namespace mosaikon::cli
