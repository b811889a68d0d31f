// Plain routines of the control library: the wait cursor, text shortening,
// command-line words and the masked-bitmap helpers.
#include "controls/core/ControlUtils.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace {

int WaitCount = 0;
bool WaitCursorShown = false;

bool HaveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void BeginWaitCursor()
{
    // The override stack of the application keeps the cursor that was current, so
    // restoring it at the end is exactly "put the saved cursor back".
    if (WaitCount == 0 && HaveGuiApplication()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        WaitCursorShown = true;
    }
    ++WaitCount;
}

void EndWaitCursor()
{
    if (WaitCount <= 0)
        return;
    --WaitCount;
    if (WaitCount == 0 && WaitCursorShown) {
        WaitCursorShown = false;
        if (HaveGuiApplication())
            QGuiApplication::restoreOverrideCursor();
    }
}

int WaitCursorDepth()
{
    return WaitCount;
}

QString ShortenTextToWidth(const QString& text, const QFontMetrics& metrics, int maxWidth)
{
    if (metrics.horizontalAdvance(text) <= maxWidth)
        return text;
    // Candidates drop two characters first, then one more each time: the order the
    // windows were laid out with.
    const QString dots = QStringLiteral("...");
    for (qsizetype i = 2; i <= text.size(); ++i) {
        const QString candidate = text.left(std::max<qsizetype>(text.size() - i, 0)) + dots;
        if (metrics.horizontalAdvance(candidate) <= maxWidth)
            return candidate;
    }
    return dots;
}

int NextCommandLineWord(const QString& text, int pos, QString& word)
{
    constexpr int maxWord = 256;
    const int len = int(text.size());
    word.clear();
    pos = std::max(pos, 0);
    while (pos < len) {
        if (text[pos].unicode() <= 32)
            ++pos;
        else if (text[pos] == QLatin1Char('"') && pos + 1 < len && text[pos + 1] == QLatin1Char('"'))
            pos += 2;
        else
            break;
    }
    auto take = [&](QChar c) {
        if (word.size() < maxWord)
            word += c;
    };
    while (pos < len && text[pos].unicode() > 32) {
        if (text[pos] == QLatin1Char('"')) {
            ++pos;
            while (pos < len && text[pos] != QLatin1Char('"'))
                take(text[pos++]);
            if (pos < len)
                ++pos;
        } else {
            take(text[pos++]);
        }
    }
    return pos;
}

QStringList CommandLineWords(const QString& text)
{
    QStringList words;
    QString word;
    int pos = 0;
    for (;;) {
        pos = NextCommandLineWord(text, pos, word);
        if (word.isEmpty())
            return words;
        words.append(word);
    }
}

int CountCommandLineWords(const QString& text)
{
    return int(CommandLineWords(text).size());
}

QString CommandLineWord(const QString& text, int index)
{
    const QStringList words = CommandLineWords(text);
    return index >= 0 && index < words.size() ? words[index] : QString();
}

void SplitProgramAndParams(const QString& commandLine, QString& program, QString& params)
{
    program.clear();
    params.clear();
    const QStringList words = CommandLineWords(commandLine);
    if (words.isEmpty())
        return;
    program = words.first();
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (i > 1)
            params += QLatin1Char(' ');
        if (words[i].contains(QLatin1Char(' ')))
            params += QLatin1Char('"') + words[i] + QLatin1Char('"');
        else
            params += words[i];
    }
}

QRgb BitmapTransparentColor(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.height() < 1)
        return qRgb(255, 0, 255);
    if (bitmap.depth() == 1)
        return qRgb(255, 255, 255);
    return bitmap.pixel(0, bitmap.height() - 1) | 0xFF000000u;
}

QImage CopyBitmapCell(const QImage& source, int columns, int index, int rows)
{
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    index = std::max(index, 0);
    const int w = source.width() / columns;
    const int h = source.height() / rows;
    return source.copy((index % columns) * w, (index / columns) * h, w, h);
}

void StretchBitmapMasked(QPainter& painter, const QImage& bitmap, QRgb transparent,
                         const QRect& src, const QRect& dest)
{
    if (bitmap.isNull())
        return;
    QRect s = src;
    if (s.width() < 1 || s.height() < 1)
        s = bitmap.rect();
    QRect d = dest;
    if (d.width() < 1)
        d.setWidth(bitmap.width());
    if (d.height() < 1)
        d.setHeight(bitmap.height());
    QImage part = bitmap.copy(s).convertToFormat(QImage::Format_ARGB32);
    if (transparent != TransparentNone) {
        QRgb key = transparent;
        if (bitmap.depth() == 1)
            key = qRgb(255, 255, 255);
        else if (transparent == TransparentDefault)
            key = BitmapTransparentColor(bitmap);
        key |= 0xFF000000u;
        for (int y = 0; y < part.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
        }
    }
    const bool smooth = painter.renderHints().testFlag(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(d, part);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void DrawBitmapPartMasked(QPainter& painter, int x, int y, const QRect& src,
                          const QImage& bitmap, QRgb transparent)
{
    StretchBitmapMasked(painter, bitmap, transparent, src, QRect(x, y, src.width(), src.height()));
}

void DrawBitmapMasked(QPainter& painter, int x, int y, const QImage& bitmap, QRgb transparent)
{
    StretchBitmapMasked(painter, bitmap, transparent, bitmap.rect(),
                        QRect(x, y, bitmap.width(), bitmap.height()));
}

QImage MakeEmbossedBitmap(const QImage& bitmap, QRgb maskColor, QRgb background,
                          bool highlight, QRgb shadowColor, QRgb highlightColor)
{
    const QImage src = bitmap.convertToFormat(QImage::Format_RGB32);
    QImage result(src.size(), QImage::Format_RGB32);
    result.fill(background);
    const QRgb key = maskColor | 0xFF000000u;
    auto inShape = [&](int x, int y) { return (src.pixel(x, y) | 0xFF000000u) == key; };
    if (highlight) {
        for (int y = 0; y + 1 < src.height(); ++y)
            for (int x = 0; x + 1 < src.width(); ++x)
                if (inShape(x, y))
                    result.setPixel(x + 1, y + 1, highlightColor);
    }
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (inShape(x, y))
                result.setPixel(x, y, shadowColor);
    return result;
}

QImage MakeDisabledGlyph(const QImage& bitmap, QRgb maskColor, QRgb buttonFace,
                         QRgb buttonShadow, QRgb buttonHighlight)
{
    return MakeEmbossedBitmap(bitmap, maskColor, buttonFace, true, buttonShadow, buttonHighlight);
}

void FitRectToScreen(QRect& rect, const QSize& screen)
{
    // Right and bottom first, so that a rectangle larger than the screen ends up
    // with its top-left corner visible.
    if (rect.x() + rect.width() > screen.width())
        rect.moveLeft(screen.width() - rect.width());
    if (rect.y() + rect.height() > screen.height())
        rect.moveTop(screen.height() - rect.height());
    if (rect.x() < 0)
        rect.moveLeft(0);
    if (rect.y() < 0)
        rect.moveTop(0);
}

bool ActiveWindowIsOurs()
{
    if (!HaveGuiApplication())
        return false;
    return QGuiApplication::focusWindow() != nullptr ||
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QStringList FilterToNameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString name = parts[i].trimmed();
        const QString joined = patterns.join(QLatin1Char(' '));
        // A name that already shows its patterns ("All files (*.*)") is kept as it is.
        if (name.endsWith(QLatin1Char(')')) && name.contains(QLatin1Char('(')))
            result.append(name.left(name.lastIndexOf(QLatin1Char('('))).trimmed() +
                          QStringLiteral(" (") + joined + QLatin1Char(')'));
        else
            result.append(name + QStringLiteral(" (") + joined + QLatin1Char(')'));
    }
    return result;
}
