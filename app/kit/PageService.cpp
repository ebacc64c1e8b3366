#include "PageService.h"

#include "kit/AppContext.h"
#include "kit/ModalWindowController.h"

#include "settings/VizoSettings.h"

void PageService::runPage(ModalWindowController &page, const Options &options)
{
    VizoSettings *settings = m_app.settings();
    // A page opened from a page gets its opener's input back when it closes.
    const bool nested = m_depth > 0;
    const bool oldDisableHotKeys = m_app.disableHotKeys();
    const bool oldDisableGestures = m_app.disableMouseGestures();
    const int oldHotKeyMode = settings ? settings->vizoHotKeyMode() : 0;
    const int oldGestureMode = settings ? settings->vizoMouseGestureMode() : 0;
    if (options.lendCaptureView)
        page.setCaptureView(m_app.captureView());

    m_app.setDisableHotKeys(true);
    m_app.updateHotKeys();
    if (options.gestureMode) {
        if (settings)
            settings->setVizoMouseGestureMode(*options.gestureMode);
    } else {
        m_app.setDisableMouseGestures(true);
    }
    m_app.updateMouseGestures();

    const bool openerHasGestures = m_pageHasGestures;
    m_pageHasGestures = options.gestureMode.has_value();
    ++m_depth;
    page.runModal();
    --m_depth;
    m_pageHasGestures = openerHasGestures;

    // A page that ended the application leaves nothing to restore.
    if (m_app.isTerminating())
        return;
    m_app.setDisableHotKeys(nested && oldDisableHotKeys);
    if (settings)
        settings->setVizoHotKeyMode(nested ? oldHotKeyMode : 0);
    m_app.updateHotKeys();
    m_app.setDisableMouseGestures(nested && oldDisableGestures);
    if (settings)
        settings->setVizoMouseGestureMode(nested ? oldGestureMode : 0);
    m_app.updateMouseGestures();
}
