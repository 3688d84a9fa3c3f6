#include "CommonDialog.h"

#include <stdexcept>
#include <utility>

namespace mosaikon {

void CommonDialog::ShowOpen() { show(DialogRequest::Mode::Open); }
void CommonDialog::ShowSave() { show(DialogRequest::Mode::Save); }

DialogHost& CommonDialog::host() const {
    if (m_host == nullptr) {
        throw std::logic_error("A file dialog was asked for where none can be shown.");
    }
    return *m_host;
}

std::string CommonDialog::askApart(const DialogRequest& request) { return host().run(request); }

void CommonDialog::show(DialogRequest::Mode mode) {
    DialogRequest request;
    request.mode = mode;
    request.fileName = FileName;
    request.filter = Filter;
    request.flags = Flags;
    request.filterIndex = FilterIndex;
    std::string chosen = host().run(request);
    if (chosen.empty()) {
        if (CancelError) {
            throw DialogCancelled();
        }
        return;
    }
    FileName = std::move(chosen);
}

}  // namespace mosaikon
