// What the plan engine needs of the window around it: questions and messages, status
// panels, progress bars, the wait cursor, the drawing surface with its animated
// overlays, and the undo and redo buttons. The main window implements it with its
// controls, a sign preview with the few it has, tests with a scripted fake. A plan
// without one links to the default, which asks through the shared dialog hooks (so a
// headless run answers cancel and never blocks) and shows nothing.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>

class QImage;

// The status-bar panels the engine writes to.
enum class TEnginePanel : std::uint8_t {
    Command,   // the echo of each command
    Scale,     // "масштаб 1:" and the output scale after a screen drawing
    Timings,   // the times of the last drawing
    Counts,    // drawn and skipped objects, joined by "/"
};

// The two progress bars: the one the plan readers drive, the one drawing drives.
enum class TEngineProgressBar : std::uint8_t { Reading, Drawing };

// How a progress bar is set up before a long operation; it is painted over the
// drawing surface at At with the surface's width (or Width when given).
struct TEngineProgressSetup {
    int Maximum = 100;
    int Step = 1;
    int Width = 0;       // pixels; 0: the surface's width
    int Height = 8;      // pixels
    QPoint At;           // on the surface
    bool Smooth = true;
};

class TEngineServices {
public:
    virtual ~TEngineServices() = default;

    // Questions and messages; modal results as numbers (1 OK, 2 cancel, 6 yes, 7 no,
    // 9 add for all). Each defaults to the shared dialog of the same name.
    virtual int ShowMsg(const QString& caption, const QString& text);
    virtual int ShowQ(const QString& caption, const QString& text);
    virtual int InpStr(QString& value, const QString& caption, const QString& text);
    virtual int InpScale(int& denominator, const QString& caption, const QString& text);
    virtual int SelStr(QStringList& list, int& index, int& added, const QString& caption,
                       const QString& text);
    virtual int DublicateItem(QString& name, const QString& caption, const QString& text);
    virtual int QDelObjects(const QStringList& lines);
    // A file-open dialog titled title; true with fileName when a file was chosen.
    // Defaults to false (no window).
    virtual bool OpenFile(const QString& title, QString& fileName);

    // Status panels; a panel the window lacks ignores the text.
    virtual void SetPanelText(TEnginePanel panel, const QString& text);
    // The main window's scale box.
    virtual void SetScaleBox(const QString& text);

    // Progress bars; a bar the window lacks ignores both calls.
    virtual void SetupProgress(TEngineProgressBar bar, const TEngineProgressSetup& setup);
    virtual void SetProgressPosition(TEngineProgressBar bar, int position);

    // The nesting wait cursor; defaults to the control library's counter.
    virtual void BeginWaitCursor();
    virtual void EndWaitCursor();

    // The drawing surface; an empty size means there is none.
    virtual QSize SurfaceSize() const;
    // Copies picture onto the surface with its top-left corner at at.
    virtual void PaintOnSurface(const QImage& picture, QPoint at);
    // The canvas a plan without a surface of its own (the sign manager's preview) is
    // copied to, at at.
    virtual void PaintOnAltCanvas(const QImage& picture, QPoint at);
    // Around the copy to the surface: stop and restart the window's animated markers.
    virtual void PauseOverlays();
    virtual void ResumeOverlays();

    // The undo and redo buttons; a window without them ignores the calls.
    virtual void SetUndoEnabled(bool enabled);
    virtual void SetRedoEnabled(bool enabled);

    // ---- The printer -----------------------------------------------------------------
    // The page of the window's printer in device pixels; an empty size: no printer (the
    // default).
    virtual QSize PrinterPageSize();
    // Prints picture as one document of one page, stretched over the whole page. Raises
    // what fails. The default prints nothing.
    virtual void PrintPicture(const QImage& picture);
    // ---- end of the printer --------------------------------------------------------------

    // The services of a plan that links to none.
    static TEngineServices& Default();
};

// The wait cursor from here to every way out of the frame.
class TWaitScope {
public:
    explicit TWaitScope(TEngineServices& ui) : Ui(ui) { Ui.BeginWaitCursor(); }
    ~TWaitScope() { Ui.EndWaitCursor(); }
    TWaitScope(const TWaitScope&) = delete;
    TWaitScope& operator=(const TWaitScope&) = delete;

private:
    TEngineServices& Ui;
};
