// The preview run of a report: generation into a new page store, announced to
// the preview handler, then a wait until the preview is closed.
#include "PageStore.h"
#include "ReportDef.h"

#include <QEventLoop>

void TReport::Preview()
{
    auto store = std::make_shared<TPageStore>();
    store->Set_Title(Title);
    const bool shown = bool(OnPreview);
    if (shown)
        OnPreview(store);
    store->Start();
    std::exception_ptr failure;
    try {
        TPageStoreOutput output(*store, true);
        Generate_Report(*this, output);
    } catch (...) {
        if (!shown)
            throw;
        failure = std::current_exception();
    }
    // Announced out of the catch block: the window may show a message with its own event loop.
    if (failure)
        store->Fail(failure);
    else
        store->Finish();
    if (shown && !store->Preview_Closed()) {
        QEventLoop wait;
        QObject::connect(store.get(), &TPageStore::previewClosed, &wait, &QEventLoop::quit);
        wait.exec();
    }
}
