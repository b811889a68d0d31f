// Mask translation and the masked edit.
#include "foundation/ui/MaskEdit.h"

#include <QKeyEvent>
#include <QStringList>

namespace {

// Splits at every ";" that no "\" protects.
QStringList MaskFields(const QString& mask)
{
    QStringList fields{QString()};
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('\\') && i + 1 < mask.size()) {
            fields.last() += c;
            fields.last() += mask.at(++i);
        } else if (c == QLatin1Char(';')) {
            fields.append(QString());
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

// Qt reads these as mask characters; fixed ones must be escaped.
bool QtSpecial(QChar c)
{
    static const QString special = QStringLiteral("AaNnXx90DdHhBb#<>![]{}\\");
    return special.contains(c);
}

}  // namespace

TDelphiMask TranslateDelphiMask(const QString& mask)
{
    TDelphiMask result;
    const QStringList fields = MaskFields(mask);
    const QString& body = fields.at(0);
    if (fields.size() > 1 && fields.at(1) == QLatin1String("0"))
        result.SaveLiterals = false;
    if (fields.size() > 2 && !fields.at(2).isEmpty())
        result.Blank = fields.at(2).at(0);
    if (body.isEmpty())
        return result;

    QString qt;
    auto place = [&](const char* code) {
        qt += QLatin1String(code);
        result.Literal.push_back(false);
    };
    auto fixed = [&](QChar c) {
        // Qt takes the first ";" as the start of the blank, so a fixed ";" cannot be
        // said; a blank stands in its place.
        if (c == QLatin1Char(';'))
            c = QLatin1Char(' ');
        if (QtSpecial(c))
            qt += QLatin1Char('\\');
        qt += c;
        result.Literal.push_back(true);
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        switch (c.unicode()) {
        case '0': place("9"); break;
        case '9': place("0"); break;
        case '#': place("#"); break;
        case 'L': place("A"); break;
        case 'l': place("a"); break;
        case 'A': place("N"); break;
        case 'a': place("n"); break;
        case 'C': place("X"); break;
        case 'c': place("x"); break;
        case '!': break;
        case '>':
            qt += QLatin1Char('>');
            break;
        case '<':
            if (i + 1 < body.size() && body.at(i + 1) == QLatin1Char('>')) {
                qt += QLatin1Char('!');
                ++i;
            } else {
                qt += QLatin1Char('<');
            }
            break;
        case '\\':
            if (i + 1 < body.size())
                fixed(body.at(++i));
            break;
        case '_': fixed(QLatin1Char(' ')); break;
        default: fixed(c); break;
        }
    }
    result.InputMask = qt + QLatin1Char(';') + result.Blank;
    return result;
}

QString DelphiMaskText(const TDelphiMask& mask, const QString& displayed)
{
    if (mask.InputMask.isEmpty())
        return displayed;
    QString text;
    qsizetype filledEnd = 0;   // the text up to its last filled place
    for (qsizetype i = 0; i < displayed.size(); ++i) {
        const bool literal = i < qsizetype(mask.Literal.size()) && mask.Literal[size_t(i)];
        if (literal) {
            if (mask.SaveLiterals)
                text += displayed.at(i);
        } else if (displayed.at(i) == mask.Blank) {
            text += QLatin1Char(' ');
        } else {
            text += displayed.at(i);
            filledEnd = text.size();
        }
    }
    // Without its fixed characters the text ends at its last filled place: an empty
    // edit gives an empty text, and a short code is seen to be short.
    if (!mask.SaveLiterals)
        text.truncate(filledEnd);
    return text;
}

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

void TMaskEdit::SetEditMask(const QString& mask)
{
    Mask = mask;
    Translated = TranslateDelphiMask(mask);
    setInputMask(Translated.InputMask);
}

QString TMaskEdit::Text() const { return DelphiMaskText(Translated, displayText()); }

void TMaskEdit::SetText(const QString& text)
{
    setText(text);
}

bool TMaskEdit::FixedPlace(int place) const
{
    return place >= 0 && place < int(Translated.Literal.size()) && Translated.Literal[size_t(place)];
}

void TMaskEdit::keyPressEvent(QKeyEvent* e)
{
    const bool typed = !e->text().isEmpty() && e->text().at(0).isPrint() &&
                       !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    if (!Translated.InputMask.isEmpty() && !isReadOnly() && typed && FixedPlace(at)) {
        int free = at;
        while (FixedPlace(free))
            ++free;
        if (hasSelectedText())
            del();   // the selection becomes blanks, as typing over it would make it
        setCursorPosition(free);
    }
    QLineEdit::keyPressEvent(e);
}
