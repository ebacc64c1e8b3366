#include "files/FilesController.h"

#include "kit/AppContext.h"
#include "kit/CaptureWindowController.h"
#include "kit/MessageBoxController.h"
#include "files/FileListCellView.h"
#include "files/FileListTableView.h"
#include "files/FileListViewController.h"
#include "protocol/VizoCommands.h"
#include "settings/VizoSettings.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrNotificationCenter.h>
#include <trellis/TreeMenuTableView.h>
#include <trellis/TrellisController.h>

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>

#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcFiles, "vizo.files", QtWarningMsg)

namespace {
// Design sizes (times the scale factor).
constexpr int kHeaderHeight = 30;
constexpr int kFooterHeight = 30;
constexpr int kMargin = 8;
constexpr int kMenuWidth = 200;
constexpr int kFocusMark = 3;
constexpr int kTitleFont = 15;
constexpr int kButtonWidth = 80;

const QColor kHeaderColor(26, 64, 122);
const QColor kContentColor(188, 195, 215);
const QColor kFocusColor(255, 170, 0);
const QColor kHilightColor(67, 75, 140);

QString section()
{
    return QStringLiteral("FilesUI");
}

double scale(const AppContext &context)
{
    const double s = context.scaleFactor();
    return s > 0 ? s : 1.0;
}

int px(const AppContext &context, int design)
{
    return std::max(1, int(std::lround(design * scale(context))));
}
} // namespace

FilesController::FilesController(FilesKindTraits traits, AppContext &app, QWidget *parent)
    : ModalWindowController(app, parent), m_traits(std::move(traits))
{
    setObjectName(m_traits.kind == VizoFileKind::Image ? QStringLiteral("ImageFilesController")
                                                       : QStringLiteral("OCRFilesController"));
    setIsFullSize(true);
    setAutoFillBackground(true);

    m_headerContainer = new QWidget(this);
    m_headerContainer->setObjectName(QStringLiteral("headerContainer"));
    m_headerContainer->setAutoFillBackground(true);
    m_labelHeader = new QLabel(m_headerContainer);
    m_labelHeader->setObjectName(QStringLiteral("labelHeader"));

    m_contentContainer = new QWidget(this);
    m_contentContainer->setObjectName(QStringLiteral("contentContainer"));
    // The focus marks lie behind their panes and show as a frame around them.
    m_menuViewContainerShadow = new QFrame(m_contentContainer);
    m_menuViewContainerShadow->setObjectName(QStringLiteral("menuViewContainerShadow"));
    m_fileListViewContainerShadow = new QFrame(m_contentContainer);
    m_fileListViewContainerShadow->setObjectName(QStringLiteral("fileListViewContainerShadow"));
    for (QFrame *mark : {m_menuViewContainerShadow, m_fileListViewContainerShadow}) {
        mark->setAutoFillBackground(true);
        mark->hide();
    }
    m_menuViewConatiner = new QWidget(m_contentContainer);
    m_menuViewConatiner->setObjectName(QStringLiteral("menuViewConatiner"));
    m_fileListViewContainer = new QWidget(m_contentContainer);
    m_fileListViewContainer->setObjectName(QStringLiteral("fileListViewContainer"));

    m_footerContainer = new QWidget(this);
    m_footerContainer->setObjectName(QStringLiteral("footerContainer"));
    m_footerContainer->setAutoFillBackground(true);
    m_buttonOK = new QPushButton(m_footerContainer);
    m_buttonOK->setObjectName(QStringLiteral("buttonOK"));
    m_buttonOK->setFocusPolicy(Qt::NoFocus);
    connect(m_buttonOK, &QPushButton::clicked, this, &FilesController::onOK);
}

FilesController::~FilesController()
{
    // Joins a deletion still waiting for the device before anything it
    // uses goes away.
    if (m_deleteWorker)
        m_deleteWorker->cancel();
    BrNotificationCenter::defaultCenter().removeObserver(this);
}

// ---- texts and speech

QString FilesController::filesText(const QString &key) const
{
    return context().languageString(section(), key, key);
}

QString FilesController::messagesText(const QString &key, const QString &fallback) const
{
    return context().languageString(QStringLiteral("Messages"), key,
                                       fallback.isEmpty() ? key : fallback);
}

QList<FileListItem> &FilesController::items()
{
    return context().settings()->fileItemArray(m_traits.kind);
}

bool FilesController::browserOfKindInDeleteMode(AppContext &app, VizoFileKind kind)
{
    for (qsizetype i = app.stackUI().count() - 1; i >= 0; --i) {
        auto *browser = qobject_cast<FilesController *>(app.stackUI().at(i));
        if (browser && browser->m_traits.kind == kind)
            return browser->m_deleteMode;
    }
    return false;
}

// ---- opening

void FilesController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    AppContext *app = &context();
    m_deleteWorker = std::make_unique<FileDeleteWorker>(*app, *app->connection());
    context().speak(QStringLiteral(" "));

    const QString title = filesText(m_traits.titleKey);
    setWindowTitle(title);
    m_labelHeader->setText(title);
    m_buttonOK->setText(messagesText(QStringLiteral("Alert.OK"), QStringLiteral("OK")));
    m_buttonOK->setAccessibleName(m_buttonOK->text());
    m_buttonOK->setAccessibleDescription(QStringLiteral("Closes %1").arg(title));

    QPointer<FilesController> self(this);
    auto action = [self](void (FilesController::*fn)()) {
        return [self, fn] {
            if (self)
                (self.data()->*fn)();
        };
    };
    m_menuItemDeleteMode = makeItem(QStringLiteral("ThumbnailListView.DeleteMode"),
                                    action(&FilesController::enterDeleteMode));
    m_menuItemFinishDeleteMode = makeItem(QStringLiteral("ThumbnailListView.FinishDeleteMode"),
                                          action(&FilesController::finishDeleteMode));
    m_menuItemDelete =
        makeItem(QStringLiteral("ThumbnailListView.Delete"), action(&FilesController::onDelete));
    m_menuItemSelectAll = makeItem(QStringLiteral("ThumbnailListView.SelectAll"), [self] {
        if (!self)
            return;
        if (self->getCheckedFileItemCount() == self->items().size())
            self->onClearSelection();
        else
            self->onSelectAll();
    });

    m_fileListViewController = new FileListViewController(m_fileListViewContainer);
    m_fileListViewController->cellView()->scale(scale(context()));
    m_fileListViewController->tableView()->setAccessibleName(title);
    m_fileListViewController->tableView()->setAccessibleDescription(
        QStringLiteral("Files stored on the device; Return opens, Left goes to the menu"));
    m_fileListViewController->eventItemClicked = [self](FileListItem &item, int row) {
        if (self)
            self->onItemClicked(item, row);
    };
    m_fileListViewController->eventItemCheckBoxClicked = [self](FileListItem &item, int row) {
        if (self)
            self->onItemCheckBoxClicked(item, row);
    };
    m_fileListViewController->eventSelectionChanged =
        [self](FileListItem &item, int row, bool fromMouseDown, bool fromCheckBox) {
            if (self)
                self->onSelectionChanged(item, row, fromMouseDown, fromCheckBox);
        };

    doLayout();
    m_menuControllerNormalMode = makeMenu(trellisMenu({m_menuItemDeleteMode}));
    m_menuControllerNormalMode->setAccessibleName(title + QStringLiteral(" menu"));
    m_menuControllerDeleteMode =
        makeMenu(trellisMenu({m_menuItemFinishDeleteMode, m_menuItemDelete, m_menuItemSelectAll}));
    m_menuControllerDeleteMode->setAccessibleName(title + QStringLiteral(" delete menu"));
    m_menuControllerDeleteMode->hide();

    BrNotificationCenter::defaultCenter().observe(m_traits.notificationName, this, [self] {
        if (self)
            self->onNotificationImageFileListDownloaded();
    });
    // New lists of this kind get visible check boxes while a browser of
    // the kind is in delete mode.
    if (VizoSettings *settings = context().settings())
        settings->setDeleteModeQuery(
            [app = &context()](VizoFileKind kind) { return browserOfKindInDeleteMode(*app, kind); });

    m_fileListViewController->setFileListItems(&items());
    updateUIColor();
    m_fileListViewController->reload();
    updateUI();
    brPostMain(
        [self] {
            if (!self)
                return;
            self->reDrawMenu();
            self->focusPane(Pane::Menu);
            self->giveKeysToShownMenu();
        },
        this);
}

TrellisItemPtr FilesController::makeItem(const QString &key, std::function<void()> action)
{
    auto item = std::make_shared<TrellisItem>();
    item->setLabelText(filesText(key));
    QPointer<FilesController> self(this);
    // Every row that becomes current is spoken, as in the menus.
    item->eventItemSelected = [self](TrellisItem *it) {
        if (self)
            self->context().speak(it->labelText());
    };
    item->eventItemClicked = [self, action = std::move(action)](TrellisItem *) {
        if (!self)
            return;
        self->focusPane(Pane::Menu);
        self->reDrawMenu();
        action();
    };
    return item;
}

TrellisController *FilesController::makeMenu(const TrellisMenuPtr &menu)
{
    auto *controller = new TrellisController(m_menuViewConatiner);
    controller->setScale(float(scale(context())));
    controller->setBackgroundColor(Qt::white);
    controller->setCellBackgroundColor(Qt::white);
    controller->setCellTextColor(Qt::black);
    controller->setCellHilightColor(kHilightColor);
    controller->setCellHilightTextColor(Qt::white);
    controller->setCellDisabledColor(QColor(200, 200, 200));
    controller->setCellDisabledTextColor(QColor(110, 110, 110));
    controller->setCellBorderColor(QColor(120, 120, 120));
    controller->setMenu(menu);
    controller->setGeometry(m_menuViewConatiner->rect());
    controller->updateLayout();
    QPointer<FilesController> self(this);
    controller->eventClosed = [self] {
        if (self)
            self->closeUI();
    };
    return controller;
}

// ---- layout and colours

void FilesController::doLayout()
{
    const int w = width();
    const int h = height();
    const int header = px(context(), kHeaderHeight);
    const int footer = px(context(), kFooterHeight);
    const int margin = px(context(), kMargin);
    const int mark = px(context(), kFocusMark);
    m_headerContainer->setGeometry(0, 0, w, header);
    m_footerContainer->setGeometry(0, h - footer, w, footer);
    m_contentContainer->setGeometry(0, header, w, std::max(0, h - header - footer));

    QFont titleFont = m_labelHeader->font();
    titleFont.setPixelSize(px(context(), kTitleFont));
    titleFont.setBold(true);
    m_labelHeader->setFont(titleFont);
    m_labelHeader->setGeometry(margin, 0, std::max(0, w - 2 * margin), header);
    m_buttonOK->setFont(titleFont);
    m_buttonOK->setGeometry(w - margin - px(context(), kButtonWidth), px(context(), 3), px(context(), kButtonWidth),
                            footer - 2 * px(context(), 3));

    const int ch = m_contentContainer->height();
    const int menuWidth = std::min(px(context(), kMenuWidth), std::max(0, w / 2));
    const QRect menuRect(margin, margin, menuWidth, std::max(0, ch - 2 * margin));
    const QRect listRect(menuRect.right() + 1 + 2 * margin, margin,
                         std::max(0, w - menuRect.right() - 1 - 3 * margin),
                         std::max(0, ch - 2 * margin));
    m_menuViewConatiner->setGeometry(menuRect);
    m_fileListViewContainer->setGeometry(listRect);
    m_menuViewContainerShadow->setGeometry(menuRect.adjusted(-mark, -mark, mark, mark));
    m_fileListViewContainerShadow->setGeometry(listRect.adjusted(-mark, -mark, mark, mark));
    for (TrellisController *menu : {m_menuControllerNormalMode, m_menuControllerDeleteMode})
        if (menu)
            menu->setGeometry(m_menuViewConatiner->rect());
    if (m_fileListViewController)
        m_fileListViewController->setGeometry(m_fileListViewContainer->rect());
}

void FilesController::resizeEvent(QResizeEvent *event)
{
    ModalWindowController::resizeEvent(event);
    doLayout();
}

void FilesController::updateUIColor()
{
    auto paint = [](QWidget *w, const QColor &background, const QColor &text) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
        w->setPalette(p);
    };
    paint(this, kContentColor, Qt::black);
    paint(m_headerContainer, kHeaderColor, Qt::white);
    paint(m_footerContainer, kHeaderColor, Qt::white);
    // The button keeps dark text on its own light face.
    QPalette button = m_buttonOK->palette();
    button.setColor(QPalette::Button, Qt::white);
    button.setColor(QPalette::ButtonText, Qt::black);
    m_buttonOK->setPalette(button);
    paint(m_menuViewContainerShadow, kFocusColor, Qt::black);
    paint(m_fileListViewContainerShadow, kFocusColor, Qt::black);
    if (m_fileListViewController) {
        m_fileListViewController->setCellBackgroundColor(Qt::white);
        m_fileListViewController->setCellTextColor(Qt::black);
        m_fileListViewController->setCellHilightColor(kHilightColor);
        m_fileListViewController->setCellHilightTextColor(Qt::white);
    }
}

void FilesController::reDrawMenu()
{
    // Both panes are painted again (their focus marks may have changed).
    m_menuViewConatiner->update();
    m_fileListViewContainer->update();
    m_contentContainer->update();
}

void FilesController::focusPane(Pane pane)
{
    m_menuViewContainerShadow->setVisible(pane == Pane::Menu);
    m_fileListViewContainerShadow->setVisible(pane == Pane::List);
}

void FilesController::giveKeysToShownMenu()
{
    TrellisController *menu =
        m_deleteMode ? m_menuControllerDeleteMode : m_menuControllerNormalMode;
    if (!menu)
        return;
    QWidget *table = menu->firstResponder();
    if (!table)
        table = menu->tableView();
    if (table)
        table->setFocus(Qt::OtherFocusReason);
}

void FilesController::giveKeysToList()
{
    if (m_fileListViewController)
        m_fileListViewController->firstResponder()->setFocus(Qt::OtherFocusReason);
}

// ---- state of the menus

int FilesController::getCheckedFileItemCount() const
{
    const VizoSettings *settings = context().settings();
    if (!settings)
        return 0;
    const QList<FileListItem> &list = m_traits.kind == VizoFileKind::Image
                                          ? settings->imageFileItemArray()
                                          : settings->ocrFileItemArray();
    return int(
        std::count_if(list.cbegin(), list.cend(), [](const FileListItem &i) { return i.checked; }));
}

void FilesController::updateUI()
{
    if (!m_deleteMode)
        return;
    const int checked = getCheckedFileItemCount();
    const qsizetype total = items().size();
    m_menuItemDelete->setDisabled(checked == 0);
    m_menuItemSelectAll->setLabelText(filesText(
        total > 0 && checked == total ? QStringLiteral("ThumbnailListView.CancelSelection")
                                      : QStringLiteral("ThumbnailListView.SelectAll")));
}

void FilesController::setCheckBoxesHidden(bool hidden)
{
    for (FileListItem &item : items())
        item.checkBoxHidden = hidden;
}

void FilesController::enterDeleteMode()
{
    m_menuControllerNormalMode->hide();
    m_menuControllerDeleteMode->show();
    context().speak(m_menuItemDeleteMode->labelText());
    m_deleteMode = true;
    giveKeysToShownMenu();
    setCheckBoxesHidden(false);
    m_fileListViewController->reload();
    updateUI();
}

void FilesController::finishDeleteMode()
{
    m_menuControllerNormalMode->show();
    m_menuControllerDeleteMode->hide();
    context().speak(m_menuItemFinishDeleteMode->labelText());
    m_deleteMode = false;
    giveKeysToShownMenu();
    // The ticks stay in the model; only the boxes go.
    setCheckBoxesHidden(true);
    m_fileListViewController->reload();
}

void FilesController::onSelectAll()
{
    context().speak(filesText(QStringLiteral("ThumbnailListView.SelectAll")));
    for (FileListItem &item : items())
        item.checked = true;
    m_fileListViewController->reload();
    updateUI();
    giveKeysToShownMenu();
}

void FilesController::onClearSelection()
{
    context().speak(filesText(QStringLiteral("ThumbnailListView.CancelSelection")));
    for (FileListItem &item : items())
        item.checked = false;
    m_fileListViewController->reload();
    updateUI();
    giveKeysToShownMenu();
}

// ---- the list's handlers

void FilesController::onItemClicked(FileListItem &item, int)
{
    focusPane(Pane::List);
    if (m_deleteMode)
        return;
    // A copy: the list may be replaced while the file is shown.
    openFile(item.filePath);
}

void FilesController::openFile(QString path)
{
    AppContext *app = &context();
    const VizoResult<QByteArray> open = m_traits.openCommand(path);
    if (!open) {
        // The device's field holds 64 characters: a longer path would open
        // another file or none, and the window would wait for ever.
        qCWarning(lcFiles) << open.error();
        const QString text =
            messagesText(QStringLiteral("Error.FileNameTooLong"),
                         QStringLiteral("The file name is too long for the device to open."));
        context().speak(text);
        context().showMessageBox(text);
        giveKeysToList();
        return;
    }
    context().lockInput(true);
    // Goes out once the window's modal run has started.
    const QByteArray payload = *open;
    brPostMain(
        [app, payload] { app->writeVizoPacket(payload); },
        this);
    std::unique_ptr<CaptureWindowController> window = m_traits.makeCaptureWindow(context());
    m_captureWindow = window.get();
    window->setCaptureView(app->captureView());
    const ConnectionGuard guard(*app);
    window->runModal();
    window.reset();
    // Closed because the camera went away: nothing to tell it.
    if (app->isTerminating() || !guard.alive())
        return;

    context().lockInput(true);
    enableHotKeys();
    updateUIColor();
    if (!path.isEmpty())
        app->writeVizoPacket(m_traits.closeCommand);
    if (VizoSettings *settings = context().settings())
        settings->setVizoMode(0);
    giveKeysToList();
}

void FilesController::onItemCheckBoxClicked(FileListItem &item, int)
{
    focusPane(Pane::List);
    giveKeysToList();
    updateUI();
    context().speak(item.checked
              ? messagesText(QStringLiteral("TTS.Selected"), QStringLiteral("Selected"))
              : messagesText(QStringLiteral("TTS.Cancelled"), QStringLiteral("Cancelled")));
}

void FilesController::onSelectionChanged(FileListItem &item, int, bool fromMouseDown, bool)
{
    if (!fromMouseDown)
        context().speak(item.fileName);
}

void FilesController::onNotificationImageFileListDownloaded()
{
    if (!m_fileListViewController)
        return;
    m_fileListViewController->setFileListItems(&items());
    m_fileListViewController->reload();
    updateUI();
    giveKeysToShownMenu();
}

// ---- deleting

void FilesController::onDelete()
{
    if (getCheckedFileItemCount() == 0)
        return;
    const QString question = messagesText(QStringLiteral("ConfirmAlert.Delete"),
                                          QStringLiteral("Delete the selected files?"));
    context().speak(question);
    if (!context().showYesNoMessageBox(question) || m_closing)
        return;

    // In list order: the ticked files go, the others stay.
    QList<FileListItem> ticked;
    QList<FileListItem> others;
    for (const FileListItem &item : items())
        (item.checked ? ticked : others).append(item);
    if (ticked.isEmpty())
        return;
    QStringList paths;
    for (const FileListItem &item : ticked)
        paths << item.filePath;
    if (!VizoCmd::deleteFilesPayloads(paths)) {
        const QString text =
            messagesText(QStringLiteral("Error.TooManyFilesToDelete"),
                         QStringLiteral("Too many files to delete at once. Select fewer files."));
        context().speak(text);
        context().showMessageBox(text);
        return;
    }

    items() = others;
    m_fileListViewController->setFileListItems(&items());
    m_fileListViewController->reload();
    updateUI();

    QPointer<FilesController> self(this);
    brPostMain([app = &context()] { app->showDeleteBox(); }, this);
    sendDeletePacketForSelectedItem(ticked);
    brPostMain(
        [self] {
            if (self && self->m_fileListViewController)
                self->m_fileListViewController->selectRow(0);
        },
        this);
}

void FilesController::sendDeletePacketForSelectedItem(const QList<FileListItem> &items)
{
    if (items.isEmpty())
        return;
    QStringList paths;
    for (const FileListItem &item : items)
        paths << item.filePath;
    VizoResult<QList<QByteArray>> payloads = VizoCmd::deleteFilesPayloads(paths);
    if (!payloads) {
        qCWarning(lcFiles) << payloads.error();
        return;
    }
    QPointer<FilesController> self(this);
    m_deleteWorker->start(
        payloads.value(),
        [self](const FileDeleteWorker::Result &result) {
            if (self)
                self->onDeleteFinished(result);
        },
        this);
}

void FilesController::onDeleteFinished(const FileDeleteWorker::Result &result)
{
    AppContext *app = &context();
    if (!app || app->isTerminating() || m_closing)
        return;
    if (result.outcome == FileDeleteWorker::Outcome::TimedOut) {
        deletionUnconfirmed(true);
        return;
    }
    // Every frame is out; the device's last answer closes the box. Should
    // it never come, the box goes after the same time as any other answer.
    QPointer<MessageBoxController> box = context().deleteBox();
    if (!box)
        return;
    QPointer<FilesController> self(this);
    brPostMainAfter(
        m_deleteWorker->answerTimeoutMs(),
        [self, box] {
            if (self && box && self->context().deleteBox() == box.data() && !self->m_closing)
                self->deletionUnconfirmed(true);
        },
        this);
}

void FilesController::deletionUnconfirmed(bool tellUser)
{
    AppContext *app = &context();
    context().closeDeleteBox();
    // What the device really holds now decides what is shown.
    app->writeVizoPacket(VizoCmd::RequestFileList(std::uint8_t(m_traits.kind)).payload());
    if (tellUser) {
        const QString text =
            messagesText(QStringLiteral("Error.DeletionNotConfirmed"),
                         QStringLiteral("Deletion not confirmed: the file list is read again."));
        context().speak(text);
        context().showMessageBox(text);
    }
}

// ---- closing and keys

void FilesController::closeUI()
{
    if (m_closing || isClosed())
        return;
    if (m_deleteMode)
        finishDeleteMode();
    m_closing = true;
    if (m_deleteWorker && m_deleteWorker->isRunning()) {
        const FileDeleteWorker::Result result = m_deleteWorker->cancel();
        AppContext *app = &context();
        if (result.framesSent < result.frameCount && app && !app->isTerminating())
            deletionUnconfirmed(false);
    }
    if (m_fileListViewController)
        m_fileListViewController->cleanUp();
    BrNotificationCenter::defaultCenter().removeObserver(m_traits.notificationName, this);
    context().speak(QStringLiteral(" "));
    closeWindow();
}

void FilesController::onEscKeyDown()
{
    closeUI();
}

void FilesController::onBackspaceKeyDown()
{
    closeUI();
}

void FilesController::onOK()
{
    closeUI();
}

void FilesController::vizoModeChanged()
{
    context().lockInput(true);
    enableHotKeys();
}

void FilesController::enableHotKeys()
{
    setEnableHotKeyEsc(true);
    setEnableHotKeyBackspace(true);
}

void FilesController::keyPressEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Left) {
        event->accept();
        focusPane(Pane::Menu);
        reDrawMenu();
        giveKeysToShownMenu();
        return;
    }
    if (event->key() == Qt::Key_Right) {
        event->accept();
        focusPane(Pane::List);
        reDrawMenu();
        giveKeysToList();
        return;
    }
    ModalWindowController::keyPressEvent(event);
}
