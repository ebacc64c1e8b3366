#pragma once
// The in-memory mirror of the device's settings and state: one object for
// the whole run, filled from the option file, kept in step with the device's
// reports, read and changed by hot keys, gestures, menus and pages. Nothing
// of it is stored on the computer.
//
// Threads: the model has no lock; create, read and change it on the main
// thread only. Observers follow it through the signals below.
#include "settings/FileListItem.h"
#include "settings/VizoConfigParser.h"
#include "settings/VizoOCR.h"
#include "settings/VizoOptions.h"
#include "settings/VizoRegion.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

class VizoSettings : public QObject
{
    Q_OBJECT
public:
    // Edition codes of `vizoVersion`.
    enum Edition : qint32 { Summit = 0, Valley = 1, Ridge = 2, UnknownEdition = 255 };
    // At most two OCR languages are selected: the interface language's own
    // and one more.
    static constexpr int maxCountOfOCRSelection = 2;

    // Answers whether the topmost file window of `kind` on the modal stack is
    // in delete mode (false when no such window is open).
    using DeleteModeQuery = std::function<bool(VizoFileKind kind)>;

    // Builds the tree with the defaults (region code -1, that is "Beta").
    explicit VizoSettings(QObject *parent = nullptr);
    ~VizoSettings() override;

    VizoOptions *options() const { return m_options; }
    VizoOCR *ocr() const { return m_ocr; }

    // --- Resets (the Initialization items of the Options menu) ---
    // All: resetOption, then resetOCR.
    void reset();
    // Colour slots, contrast, markers, focus lock, auto-scroll, voice guide,
    // joystick, password, Wi-Fi resolution, interface language code 1, OCR
    // language mask 2; reloads the language strings.
    void resetOption();
    // Recognition and speech settings; the OCR language mask stays.
    void resetOCR();

    // --- Colour stepping: predicts the device's own change ---
    // Steps the active slot of the current view (cameraMode 0 distance, any
    // other value near) past disabled slots; returns the new index.
    int calcNextColor();
    int calcPrevColor();
    int calcNextColorForDistanceViewMode();
    int calcPrevColorForDistanceViewMode();
    int calcNextColorForNearViewMode();
    int calcPrevColorForNearViewMode();

    // Decodes a colour pair ("0302": white on black) into `slot`. A text
    // shorter than two characters leaves the slot unchanged.
    static void parseColor(const QString &text, VizoColorSlot *slot);

    // Stores every known key of the option file, then reloads the language
    // strings (so a "Language" key takes effect at once).
    void applyOptionFileData(const VizoOptionFileData &data);

    // Replaces languageStrings with the current language's text table; keys
    // that table lacks fall back to the English table.
    void reloadLanguageStrings();

    // Rebuild the file item arrays from a parsed file list: names shorter
    // than two characters are dropped; the check boxes show when the file
    // window of that kind is in delete mode (asked through the query).
    void applyImageFileList(const QStringList &names);
    void applyOCRFileList(const QStringList &names);
    void applyFileList(VizoFileKind kind, const QStringList &names);
    void setDeleteModeQuery(DeleteModeQuery query) { m_deleteModeQuery = std::move(query); }

    // --- State fields ---
    qint32 vizoVersion() const { return m_vizoVersion; }
    void setVizoVersion(qint32 v) { assign(m_vizoVersion, v); }
    qint32 vizoMode() const { return m_vizoMode; }
    void setVizoMode(qint32 v) { assign(m_vizoMode, v); }
    qint32 vizoHotKeyMode() const { return m_vizoHotKeyMode; }
    void setVizoHotKeyMode(qint32 v) { assign(m_vizoHotKeyMode, v); }
    qint32 vizoMouseGestureMode() const { return m_vizoMouseGestureMode; }
    void setVizoMouseGestureMode(qint32 v) { assign(m_vizoMouseGestureMode, v); }
    qint32 cameraMode() const { return m_cameraMode; }
    void setCameraMode(qint32 v) { assign(m_cameraMode, v); }
    qint32 selectedColorSlotForDistanceViewMode() const
    {
        return m_selectedColorSlotForDistanceViewMode;
    }
    void setSelectedColorSlotForDistanceViewMode(qint32 v)
    {
        assign(m_selectedColorSlotForDistanceViewMode, v);
    }
    qint32 oldSelectedColorSlotForDistanceViewMode() const
    {
        return m_oldSelectedColorSlotForDistanceViewMode;
    }
    void setOldSelectedColorSlotForDistanceViewMode(qint32 v)
    {
        assign(m_oldSelectedColorSlotForDistanceViewMode, v);
    }
    qint32 selectedColorSlotForNearViewMode() const { return m_selectedColorSlotForNearViewMode; }
    void setSelectedColorSlotForNearViewMode(qint32 v)
    {
        assign(m_selectedColorSlotForNearViewMode, v);
    }
    qint32 oldSelectedColorSlotForNearViewMode() const
    {
        return m_oldSelectedColorSlotForNearViewMode;
    }
    void setOldSelectedColorSlotForNearViewMode(qint32 v)
    {
        assign(m_oldSelectedColorSlotForNearViewMode, v);
    }
    bool ocrPlayed() const { return m_ocrPlayed; }
    void setOcrPlayed(bool v) { assign(m_ocrPlayed, v); }
    bool autoScrollPlayed() const { return m_autoScrollPlayed; }
    void setAutoScrollPlayed(bool v) { assign(m_autoScrollPlayed, v); }
    qint32 zoomLevel() const { return m_zoomLevel; }
    void setZoomLevel(qint32 v) { assign(m_zoomLevel, v); }
    qint32 iSendContrastCnt() const { return m_iSendContrastCnt; }
    void setISendContrastCnt(qint32 v) { assign(m_iSendContrastCnt, v); }

    // The file items; browsers tick items in place through the mutable form.
    const QList<FileListItem> &imageFileItemArray() const { return m_imageFileItemArray; }
    QList<FileListItem> &imageFileItemArray() { return m_imageFileItemArray; }
    const QList<FileListItem> &ocrFileItemArray() const { return m_ocrFileItemArray; }
    QList<FileListItem> &ocrFileItemArray() { return m_ocrFileItemArray; }
    QList<FileListItem> &fileItemArray(VizoFileKind kind)
    {
        return kind == VizoFileKind::Image ? m_imageFileItemArray : m_ocrFileItemArray;
    }

    VizoRegion *vizoRegion() const { return m_vizoRegion.get(); }
    // Replaces the region (when the device reports its code). The language
    // strings follow at the next reloadLanguageStrings.
    void setVizoRegion(std::unique_ptr<VizoRegion> region);

    // Section name -> (text key -> text).
    const QVariantMap &languageStrings() const { return m_languageStrings; }
    // One text of languageStrings; a null string when the key is unknown.
    QString text(const QString &section, const QString &key) const;

signals:
    // Anything in the model changed: a state field, a field of options or
    // ocr, a colour slot, the region, the language strings or a file list.
    void changed();
    void languageStringsChanged();
    void vizoRegionChanged();
    void imageFileItemArrayChanged();
    void ocrFileItemArrayChanged();

private:
    template <typename T> void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }
    int stepColor(VizoColorMode *mode, qint32 &selected, qint32 &oldSelected, int direction);
    void applyOptionPair(const QString &key, const QString &value);

    VizoOptions *m_options;
    VizoOCR *m_ocr;
    qint32 m_vizoVersion = UnknownEdition;
    qint32 m_vizoMode = 0;
    qint32 m_vizoHotKeyMode = 0;
    qint32 m_vizoMouseGestureMode = 0;
    qint32 m_cameraMode = 1;
    qint32 m_selectedColorSlotForDistanceViewMode = 1;
    qint32 m_oldSelectedColorSlotForDistanceViewMode = 1;
    qint32 m_selectedColorSlotForNearViewMode = 1;
    qint32 m_oldSelectedColorSlotForNearViewMode = 1;
    bool m_ocrPlayed = false;
    bool m_autoScrollPlayed = false;
    qint32 m_zoomLevel = 0;
    qint32 m_iSendContrastCnt = 0;
    QList<FileListItem> m_imageFileItemArray;
    QList<FileListItem> m_ocrFileItemArray;
    std::unique_ptr<VizoRegion> m_vizoRegion;
    QVariantMap m_languageStrings;
    DeleteModeQuery m_deleteModeQuery;
};
