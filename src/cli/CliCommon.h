#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace mosaikon::cli {

// Exit statuses, the same for every sub-command.
inline constexpr int kSuccess = 0;
inline constexpr int kNothingToExtract = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kFileFailure = 3;

// Ends a sub-command with `status` and one line for standard error.
class CliFailure : public std::runtime_error {
public:
    CliFailure(int status, const std::string& message)
        : std::runtime_error(message), m_status(status) {}
    int status() const { return m_status; }

private:
    int m_status;
};

// The sub-commands, each given the arguments after its name; each returns its exit status.
int runExtract(const std::vector<std::string>& arguments);
int runInfo(const std::vector<std::string>& arguments);
int runConvert(const std::vector<std::string>& arguments);
int runThumbnail(const std::vector<std::string>& arguments);

// What a sub-command prints for --help.
extern const char* const kExtractHelp;
extern const char* const kInfoHelp;
extern const char* const kConvertHelp;
extern const char* const kThumbnailHelp;

// `text` as a JSON string, quotes included. Bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text);

}  // namespace mosaikon::cli
