#include "CommonDialog.h"

#include <utility>

namespace mosaikon {

void CommonDialog::ShowOpen() { show(DialogRequest::Mode::Open); }
void CommonDialog::ShowSave() { show(DialogRequest::Mode::Save); }

void CommonDialog::show(DialogRequest::Mode mode) {
    DialogRequest request;
    request.mode = mode;
    request.fileName = FileName;
    request.filter = Filter;
    request.flags = Flags;
    request.filterIndex = FilterIndex;
    std::string chosen = m_host->run(request);
    if (chosen.empty()) {
        if (CancelError) {
            throw DialogCancelled();
        }
        return;
    }
    FileName = std::move(chosen);
}

}  // namespace mosaikon
