// Stand-ins for routines of the foundation that have not reached this branch yet;
// removed as soon as they have.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <cstdint>

enum TSemExt : std::uint8_t {
    seM = 0, seS, seGV, seGR, seGT, seGG, seGP, seGH, seGD, seGS, seGO, seTG, seTS, seTR,
    seTP, seTD, seTN, seTK, seID, seII, seIV, seIT, seIN
};
inline constexpr int SemExtCount = 23;

QString IntToStrF(Int64 v, int digits);
QString SemExtToStr(TSemExt ext, bool FullInfo);

bool ValidFloat(const QString& s, bool ThousandSep, bool UniDecSep);
Extended StrToFlt(const QString& s);
// Fixed notation with at most precision significant digits and digits decimals.
QString FloatToStrFixed(Extended v, int precision, int digits);

using TModalResult = int;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrYes = 6;
TModalResult ShowMsgDialog(const QString& caption, const QString& text);
TModalResult InpStrDialog(QString& value, const QString& caption, const QString& text);

QString ResolvePath(const QString& path);
