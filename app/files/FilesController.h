#pragma once
// The file browser window: a tree menu on the left, the list of the files of
// one kind on the right. Choosing a file asks the device to open it and
// shows it in the kind's capture window; in delete mode the user ticks files
// and deletes them on the device. Every step is spoken by the device.
//
// ImageFilesController and OCRFilesController are this class with the
// differences of their kind (FilesKindTraits). Opened through the
// delegate's page service (input handed over and restored), run modally on
// the modal stack. Main thread only, except the deletion's frames, which a
// FileDeleteWorker sends.
#include "kit/ModalWindowController.h"
#include "files/FileDeleteWorker.h"
#include "settings/FileListItem.h"
#include "protocol/VizoResult.h"

#include <trellis/TrellisItem.h>

#include <QByteArray>
#include <QPointer>

#include <functional>
#include <memory>

class AppContext;
class CaptureWindowController;
class FileListViewController;
class QFrame;
class QLabel;
class QPushButton;
class TrellisController;

// What differs between the image and the OCR browser.
struct FilesKindTraits
{
    VizoFileKind kind;
    QString titleKey;         // "FilesUI" key of the window title
    QString notificationName; // the list's download notification
    // The open command for a path; fails when the path does not fit it.
    std::function<VizoResult<QByteArray>(const QString &path)> openCommand;
    QByteArray closeCommand; // sent once the capture window has closed
    std::function<std::unique_ptr<CaptureWindowController>(AppContext &)> makeCaptureWindow;
};

class FilesController : public ModalWindowController
{
    Q_OBJECT

public:
    FilesController(FilesKindTraits traits, AppContext &context, QWidget *parent = nullptr);
    ~FilesController() override;

    const FilesKindTraits &traits() const { return m_traits; }

    bool deleteMode() const { return m_deleteMode; }
    bool isDeleteMode() const { return m_deleteMode; }

    FileListViewController *fileListViewController() const { return m_fileListViewController; }
    TrellisController *menuControllerNormalMode() const { return m_menuControllerNormalMode; }
    TrellisController *menuControllerDeleteMode() const { return m_menuControllerDeleteMode; }
    TrellisItem *menuItemDeleteMode() const { return m_menuItemDeleteMode.get(); }
    TrellisItem *menuItemFinishDeleteMode() const { return m_menuItemFinishDeleteMode.get(); }
    TrellisItem *menuItemDelete() const { return m_menuItemDelete.get(); }
    TrellisItem *menuItemSelectAll() const { return m_menuItemSelectAll.get(); }
    QLabel *labelHeader() const { return m_labelHeader; }
    QWidget *menuViewConatiner() const { return m_menuViewConatiner; }
    QWidget *fileListViewContainer() const { return m_fileListViewContainer; }
    QFrame *menuViewContainerShadow() const { return m_menuViewContainerShadow; }
    QFrame *fileListViewContainerShadow() const { return m_fileListViewContainerShadow; }
    QPushButton *buttonOK() const { return m_buttonOK; }
    FileDeleteWorker &deleteWorker() { return *m_deleteWorker; }

    void doLayout();
    void updateUIColor();
    void updateUI();
    void reDrawMenu();
    int getCheckedFileItemCount() const;
    void onDelete();
    // Splits the ticked files' paths over DeleteFiles frames and sends them
    // on the worker thread (nothing for an empty list).
    void sendDeletePacketForSelectedItem(const QList<FileListItem> &items);
    void onSelectAll();
    void onClearSelection();
    void onNotificationImageFileListDownloaded();
    void closeUI() override;
    void onEscKeyDown() override;
    void onBackspaceKeyDown() override;
    void onOK();
    void vizoModeChanged() override;
    void enableHotKeys() override;

    // The menu items' actions (as choosing them does).
    void enterDeleteMode();
    void finishDeleteMode();

    // Whether the topmost browser of `kind` on the modal stack is in delete
    // mode (the settings model asks when a new list arrives).
    static bool browserOfKindInDeleteMode(AppContext &app, VizoFileKind kind);

protected:
    void windowDidLoad() override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Pane { Menu, List };

    QString filesText(const QString &key) const;
    QString messagesText(const QString &key, const QString &fallback = {}) const;
    QList<FileListItem> &items();
    TrellisController *makeMenu(const TrellisMenuPtr &menu);
    TrellisItemPtr makeItem(const QString &key, std::function<void()> action);
    void focusPane(Pane pane);
    void giveKeysToShownMenu();
    void giveKeysToList();
    void setCheckBoxesHidden(bool hidden);
    // By value: the list the path came from may be replaced while the
    // file is shown.
    void openFile(QString path);
    void onItemClicked(FileListItem &item, int row);
    void onItemCheckBoxClicked(FileListItem &item, int row);
    void onSelectionChanged(FileListItem &item, int row, bool fromMouseDown, bool fromCheckBox);
    void onDeleteFinished(const FileDeleteWorker::Result &result);
    // The device did not finish a deletion: the box goes, the user is told
    // (unless the window is closing), the list is read again.
    void deletionUnconfirmed(bool tellUser);

    FilesKindTraits m_traits;
    bool m_deleteMode = false;
    bool m_closing = false;
    FileListViewController *m_fileListViewController = nullptr;
    TrellisController *m_menuControllerNormalMode = nullptr;
    TrellisController *m_menuControllerDeleteMode = nullptr;
    TrellisItemPtr m_menuItemDeleteMode;
    TrellisItemPtr m_menuItemFinishDeleteMode;
    TrellisItemPtr m_menuItemDelete;
    TrellisItemPtr m_menuItemSelectAll;
    QLabel *m_labelHeader = nullptr;
    QWidget *m_headerContainer = nullptr;
    QWidget *m_contentContainer = nullptr;
    QWidget *m_footerContainer = nullptr;
    QWidget *m_menuViewConatiner = nullptr;
    QWidget *m_fileListViewContainer = nullptr;
    QFrame *m_menuViewContainerShadow = nullptr;
    QFrame *m_fileListViewContainerShadow = nullptr;
    QPushButton *m_buttonOK = nullptr;
    std::unique_ptr<FileDeleteWorker> m_deleteWorker;
    QPointer<CaptureWindowController> m_captureWindow;
};
