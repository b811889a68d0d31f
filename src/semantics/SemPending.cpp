#include "semantics/SemPending.h"

QString IntToStrF(Int64 v, int digits)
{
    if (digits <= 0)
        return QString();
    QString s = QString::number(v < 0 ? -static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v));
    if (s.length() < digits)
        return QString(digits - s.length(), QLatin1Char('0')) + s;
    return s.left(digits);
}

QString SemExtToStr(TSemExt ext, bool FullInfo)
{
    static const char16_t* const names[] = {
        u"Материал", u"Состояние", u"Высота", u"Диаметр", u"Толщина", u"Глубина", u"Площадь",
        u"Ширина", u"Длина", u"Сечение", u"Объем", u"Грузоподъемность", u"Скорость", u"Дебит",
        u"Течение", u"Давление", u"Напряжение", u"Количество", u"Дата", u"Имя", u"Отметка",
        u"Надпись", u"Номер"};
    static const char16_t* const codes[] = {
        u"М", u"С", u"ГВ", u"ГР", u"ГТ", u"ГГ", u"ГП", u"ГШ", u"ГД", u"ГС", u"ГО", u"ТГ",
        u"ТС", u"ТР", u"ТП", u"ТД", u"ТН", u"ТК", u"ИД", u"ИИ", u"ИВ", u"ИТ", u"ИН"};
    const int i = static_cast<int>(ext);
    if (i < 0 || i >= SemExtCount)
        return QString();
    return QString::fromUtf16(FullInfo ? names[i] : codes[i]);
}

#include <charconv>
#include <stdexcept>

bool ValidFloat(const QString& s, bool ThousandSep, bool UniDecSep)
{
    if (s.isEmpty())
        return false;
    int seps = 0;
    for (int i = 0; i < s.length(); ++i) {
        const QChar c = s[i];
        if ((c == u'+' || c == u'-') && i == 0 && s.length() > 1)
            continue;
        if (c >= u'0' && c <= u'9')
            continue;
        const bool dec = UniDecSep ? (c == u',' || c == u'.') : c == DecimalSeparator;
        if (dec) {
            if (++seps > 1 || s.length() == 1)
                return false;
            continue;
        }
        if (ThousandSep && c == ThousandSeparator)
            continue;
        return false;
    }
    return true;
}

Extended StrToFlt(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        b.append(c == u',' ? '.' : char(c.unicode()));
    if (b.startsWith('+'))
        b.remove(0, 1);
    long double v = 0;
    const auto r = std::from_chars(b.constData(), b.constData() + b.size(), v);
    if (r.ec != std::errc() || r.ptr != b.constData() + b.size())
        throw std::runtime_error("not a number");
    return v;
}

QString FloatToStrFixed(Extended v, int precision, int digits)
{
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
    long double rounded = 0;
    std::from_chars(buf, r.ptr, rounded);
    r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, digits);
    QString s = QString::fromLatin1(buf, r.ptr - buf);
    s.replace(QLatin1Char('.'), DecimalSeparator);
    return s;
}

TModalResult ShowMsgDialog(const QString&, const QString&) { return mrCancel; }
TModalResult InpStrDialog(QString&, const QString&, const QString&) { return mrCancel; }

#include <QDir>
#include <QFileInfo>

QString ResolvePath(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool abs = p.startsWith(u'/');
    const bool trailing = p.endsWith(u'/');
    const QStringList parts = p.split(u'/', Qt::SkipEmptyParts);
    QString cur = abs ? QStringLiteral("/") : QString();
    bool exists = true;
    for (int i = 0; i < parts.size(); ++i) {
        QString name = parts[i];
        if (exists) {
            const QString dir = cur.isEmpty() ? QStringLiteral(".") : cur;
            if (!QFileInfo::exists(cur + name)) {
                QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
                bool found = false;
                for (const QString& e : entries)
                    if (e.compare(name, Qt::CaseInsensitive) == 0) {
                        name = e;
                        found = true;
                        break;
                    }
                exists = found;
            }
        }
        cur += name;
        if (i + 1 < parts.size())
            cur += u'/';
    }
    if (trailing && !cur.endsWith(u'/'))
        cur += u'/';
    return cur;
}
