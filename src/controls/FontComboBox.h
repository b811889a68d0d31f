// Combo boxes that draw their items themselves: the owner-drawn base with an item
// height that follows the font, and the font chooser listing the installed font
// families with marks for TrueType and device fonts.
#pragma once

#include <QComboBox>
#include <QImage>
#include <QStyle>
#include <functional>

enum TOwnerDrawComboStyle { csDropDown, csSimple, csDropDownList };

class TOwnerDrawComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TOwnerDrawComboBox(QWidget* parent = nullptr);

    // csDropDown: edit field and list; csSimple: the same (the list opens on demand);
    // csDropDownList: list only.
    TOwnerDrawComboStyle Style() const { return FStyle; }
    void SetStyle(TOwnerDrawComboStyle value);
    // The font's cell height plus 1, at least 9 pixels.
    virtual int MinimumItemHeight() const;

protected:
    friend class TOwnerDrawComboDelegate;
    // Draws one item with LineBrush and LinePen; the closed box draws its current item
    // the same way.
    virtual void DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state);
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

    QColor LineBrush;
    QColor LinePen;

private:
    TOwnerDrawComboStyle FStyle = csDropDownList;
};

enum TFontDevice { fdScreen, fdPrinter, fdBoth };
enum TFontListOption {
    foAnsiOnly = 0x01,
    foTrueTypeOnly = 0x02,
    foFixedPitchOnly = 0x04,
    foNoOEMFonts = 0x08,
    foOEMFontsOnly = 0x10,
    foScalableOnly = 0x20,
    foNoSymbolFonts = 0x40,
};
using TFontListOptions = int;  // an or-ed set of TFontListOption

class TFontComboBox : public TOwnerDrawComboBox {
    Q_OBJECT
public:
    // Font type bits of a line, as the font list reports them.
    static constexpr int RasterFontType = 1;
    static constexpr int DeviceFontType = 2;
    static constexpr int TrueTypeFontType = 4;
    static constexpr int NotSymbolFont = 0x100;  // may be drawn in its own font

    // Throws "Resource %s not found" when a mark picture is missing.
    explicit TFontComboBox(QWidget* parent = nullptr);

    QString FontName() const { return currentText(); }
    // Selects the line of that name, letter case ignored (the text takes the line's
    // spelling); a name with a foundry tag ("C059 [urw]") selects its family. A name that is not installed stays as an extra line of the list, so
    // reading it back never gives an empty name. OnChange follows unless the name
    // equals the current text exactly.
    void SetFontName(const QString& name);
    TFontDevice Device() const { return FDevice; }
    void SetDevice(TFontDevice value);
    TFontListOptions Options() const { return FOptions; }
    void SetOptions(TFontListOptions value);
    bool TrueTypeOnly() const { return (FOptions & foTrueTypeOnly) != 0; }
    void SetTrueTypeOnly(bool value);
    // Each name drawn in its own font (symbol fonts excepted).
    bool UseFonts() const { return FUseFonts; }
    void SetUseFonts(bool value);

    // The type bits of a line (RasterFontType, ..., NotSymbolFont).
    int LineFlags(int index) const;
    // The font a line's name is drawn in.
    QFont LineFont(int index) const;

    int MinimumItemHeight() const override;

    std::function<void()> OnChange;
    std::function<void()> OnClick;

protected:
    // Fills the list with the families of the device, filtered by the options.
    virtual void RebuildFontList();
    void DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state) override;

private:
    void RebuildKeepingName();
    void Change();
    int FindLine(const QString& name) const;
    void RemoveExtraLine();

    TFontDevice FDevice = fdScreen;
    TFontListOptions FOptions = 0;
    bool FUseFonts = false;
    int Blocked = 0;          // change events are held back while above 0
    QString ExtraName;        // the line added for a name that is not installed
    QImage TrueTypePicture;
    QImage DevicePicture;
};
