#pragma once

#include <deque>
#include <exception>
#include <initializer_list>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "CommonDialog.h"

namespace mosaikon::test {

// The one file dialog of the tests: it answers from a script and remembers what it was asked.
// Each dialog takes the next step of the script, in the order the steps were given: a path, the
// empty string for a cancel, or a failure to throw. Every request is recorded first, the one
// that throws included; a dialog past the end of the script is cancelled.
class ScriptedDialogHost final : public DialogHost {
public:
    ScriptedDialogHost() = default;
    // A script of answers, one per dialog; an empty one cancels its dialog.
    ScriptedDialogHost(std::initializer_list<std::string> answers)
        : m_script(answers.begin(), answers.end()) {}

    void choose(std::string path) { m_script.emplace_back(std::move(path)); }
    void cancel() { m_script.emplace_back(std::string()); }
    // The next dialog not yet scripted throws `failure` (std::bad_alloc, a FileError, …)
    // instead of answering.
    template <typename Failure>
    void throwOnNext(Failure failure) {
        m_script.emplace_back(std::make_exception_ptr(std::move(failure)));
    }

    std::string run(const DialogRequest& request) override {
        m_requests.push_back(request);
        if (m_script.empty()) {
            return {};
        }
        Step step = std::move(m_script.front());
        m_script.pop_front();
        if (const auto* failure = std::get_if<std::exception_ptr>(&step)) {
            std::rethrow_exception(*failure);
        }
        return std::get<std::string>(std::move(step));
    }

    // Every request, in the order the dialogs were asked for.
    const std::vector<DialogRequest>& requests() const { return m_requests; }
    bool scriptUsedUp() const { return m_script.empty(); }

private:
    using Step = std::variant<std::string, std::exception_ptr>;
    std::deque<Step> m_script;
    std::vector<DialogRequest> m_requests;
};

}  // namespace mosaikon::test
