#include "kit/ModalBoxes.h"

#include "kit/AppContext.h"
#include "kit/MessageBoxController.h"
#include "kit/ModalWindowController.h"
#include "kit/Stack.h"
#include "kit/YesNoMessageBoxController.h"

namespace ModalBoxes {

namespace {
// What a box leaves behind: the keys of the window that was on top before
// it, or the main window's keys when the menu or nothing was.
class BoxScope
{
public:
    explicit BoxScope(AppContext &context) : m_context(context)
    {
        m_noted = qobject_cast<ModalWindowController *>(context.stackUI().top());
        context.setDisableHotKeys(true);
        context.updateHotKeys();
    }
    ~BoxScope()
    {
        m_context.setDisableHotKeys(!m_noted.isNull());
        m_context.updateHotKeys();
        if (m_noted)
            m_noted->enableHotKeys();
    }
    BoxScope(const BoxScope &) = delete;
    BoxScope &operator=(const BoxScope &) = delete;

private:
    AppContext &m_context;
    QPointer<ModalWindowController> m_noted;
};

QString okLabel(const AppContext &context)
{
    return context.languageString(QStringLiteral("Messages"), QStringLiteral("Alert.OK"), QStringLiteral("OK"));
}
} // namespace

void showMessageBox(AppContext &context, const QString &text)
{
    BoxScope scope(context);
    MessageBoxController box(context);
    box.setMessage(text);
    box.setButtonLabel(okLabel(context));
    box.runModal();
}

bool showYesNoMessageBox(AppContext &context, const QString &text)
{
    BoxScope scope(context);
    YesNoMessageBoxController box(context);
    box.setMessage(text);
    box.setButtonLabelYes(
        context.languageString(QStringLiteral("Messages"), QStringLiteral("ConfirmAlert.Yes"), QStringLiteral("Yes")));
    box.setButtonLabelNo(
        context.languageString(QStringLiteral("Messages"), QStringLiteral("ConfirmAlert.No"), QStringLiteral("No")));
    box.runModal();
    return box.isYesClicked();
}

void showDeleteBox(AppContext &context, QPointer<MessageBoxController> &slot)
{
    BoxScope scope(context);
    MessageBoxController box(context);
    box.setMessage(QStringLiteral("Deleting files..."));
    box.setButtonLabel(okLabel(context));
    box.setButtonVisible(false);
    slot = &box;
    box.runModal();
    if (slot == &box)
        slot = nullptr;
}

void closeDeleteBox(QPointer<MessageBoxController> &slot)
{
    if (!slot)
        return;
    MessageBoxController *box = slot;
    slot = nullptr;
    box->closeWindow();
}

} // namespace ModalBoxes
