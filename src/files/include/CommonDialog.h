#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace mosaikon {

namespace dialogflags {
inline constexpr std::int32_t kFileMustExist = 0x1000;     // 4096: only an existing file
inline constexpr std::int32_t kOverwritePrompt = 0x0002;   // confirm before replacing
inline constexpr std::int32_t kNoReadOnlyReturn = 0x8000;  // refuse a read-only target
}  // namespace dialogflags

// What a file dialog is asked to show.
struct DialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string fileName;  // the name offered at first
    std::string filter;    // "description|pattern|description|pattern…"
    std::int32_t flags = 0;
    int filterIndex = 1;  // 1-based entry of the filter shown first
};

// Shows the actual dialog. The window supplies one built on Qt's dialog; tests script one.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    // The chosen full path, or the empty string when the person cancelled.
    virtual std::string run(const DialogRequest& request) = 0;
};

// The one file dialog that all file commands share. Its properties persist from one command to
// the next; a command sets only those it names.
class CommonDialog {
public:
    explicit CommonDialog(DialogHost& host) : m_host(&host) {}
    // A dialog that can never be shown, for callers that give every command its path
    // (mosaikon-cli); showing it is a programming error (std::logic_error).
    CommonDialog() = default;

    bool CancelError = false;
    std::string FileName;
    std::string Filter;
    std::int32_t Flags = 0;
    int FilterIndex = 1;

    // Show the modal dialog. On a choice FileName becomes the chosen path; on a cancel it stays
    // as it was. With CancelError set a cancel throws DialogCancelled.
    void ShowOpen();
    void ShowSave();

    void setHost(DialogHost& host) { m_host = &host; }
    // Shows the same dialog for `request` without reading or changing any property above, for
    // commands whose choices must not leak into the next open or save. The chosen path, or the
    // empty string on a cancel.
    std::string askApart(const DialogRequest& request);

private:
    void show(DialogRequest::Mode mode);
    DialogHost& host() const;
    DialogHost* m_host = nullptr;
};

class DialogCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "The file dialog was cancelled."; }
};

}  // namespace mosaikon
