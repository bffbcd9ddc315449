#pragma once

#include "cadhost/picker.h"

#include "cad/qt/markersurface.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QEventLoop;
class QLabel;

namespace dxf {
class DrawingFile;
}

namespace cadhost {

class DrawingView;
class Host;

// The drawing host's window, the CAD window of the built-in host: shows
// the drawing, runs the picks of SelectOnScreen and GetSubEntity in a
// nested event loop, shows the ZoomToPoint marker, and undoes and redoes
// the drawing's undo steps. Its native id is the HWND of the application
// and of the document. Closing it stops the host, as closing a CAD does.
// It opens and saves DXF files (File menu, a dropped file, the program's
// command line); unsaved changes mark the title and are asked about before
// they would be lost.
class DrawingWindow : public QMainWindow, public cad::MarkerSurface, public Picker {
    Q_OBJECT
public:
    explicit DrawingWindow(Host &host, QWidget *parent = nullptr);
    ~DrawingWindow() override;

    DrawingView *view() const { return m_view; }
    QString prompt() const;
    bool isPicking() const { return m_loop != nullptr; }

    // --- DXF files -------------------------------------------------------------------
    // Each reports a failure in a message box and returns false; a file that
    // cannot be read leaves the drawing as it was.
    bool openFile(const QString &path);
    bool save();  // to the file opened, else as Save As
    bool saveAs(const QString &path);
    QString filePath() const { return m_path; }
    bool isModified() const;
    // Before the program ends with this window open: asks about unsaved
    // changes as closing does; false when the user chose to stay.
    bool confirmQuit();

    // --- Picker ---------------------------------------------------------------------
    std::optional<std::vector<EntityId>> selectOnScreen(const SelectionFilter &filter) override;
    std::optional<SubEntityPick> getSubEntity(const std::u16string &prompt) override;

    // --- cad::MarkerSurface: points are view pixels --------------------------------
    void drawMarker(int penWidth, bool xorMode, std::uint32_t rgb, std::span<const cad::PixelPoint> points) override;

signals:
    // A pick started; tests and the program may react once the loop runs.
    void pickStarted();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool runPick();
    void bringToFront();
    void setPrompt(const QString &text);
    void updateActions();
    void undo();
    void redo();
    void openTriggered();
    void saveAsTriggered();
    // Asks whether to save unsaved changes; false: the user cancelled or
    // the save failed, so nothing may be thrown away.
    bool maybeSave();
    void updateTitle();
    QString askSavePath();

    Host &m_host;
    DrawingView *m_view = nullptr;
    QLabel *m_promptLabel = nullptr;
    QLabel *m_coordinateLabel = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QAction *m_zoomExtentsAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    std::unique_ptr<dxf::DrawingFile> m_file;  // the DXF file the drawing came from
    QString m_path;
    std::uint64_t m_savedRevision = 0;
    QEventLoop *m_loop = nullptr;
    QString m_basePrompt;
    int m_observer = 0;
    bool m_actionsPending = false;
};

}  // namespace cadhost
