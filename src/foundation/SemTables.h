// The classifier in memory: the standard objects with their allowed Ф, К and Н values,
// the work semantics (named presets of a standard semantics), the synonyms that map
// semantics to signs, and the item lists of one parsed semantics string.
// The semantics codec owns these lists and fills them from the classifier files.
#pragma once

#include "foundation/AbstractListControl.h"
#include "foundation/GeoTypes.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// One allowed value of an Ф, К or Н property. Codes are written with three digits;
// an entry whose code is still negative is not written.
struct RSemFKN {
    std::int16_t Code = -1;
    QString Caption;
};

class TSemFKNs : public TCursorList<RSemFKN> {
public:
    TSemFKNs() : TCursorList("TSemFKNs", "RSemFKN") {}
};

// One allowed material code.
struct RSemM {
    std::int16_t Code = -1;
};

class TSemMs : public TCursorList<RSemM> {
public:
    TSemMs() : TCursorList("TSemMs", "RSemM") {}
};

// One allowed state code; -1 (the byte 255) until one is given.
struct RSemS {
    std::int8_t Code = -1;
};

class TSemSs : public TCursorList<RSemS> {
public:
    TSemSs() : TCursorList("TSemSs", "RSemS") {}
};

// One extended property: its kind, its value text and the index into the kind's value
// list; -1 (the byte 255) stands for no value chosen. Whoever adds one sets Kind.
struct RSemE {
    TSemExt Kind{};
    QString Value;
    std::int8_t ListIndex = -1;
};

class TSemEs : public TCursorList<RSemE> {
public:
    TSemEs() : TCursorList("TSemEs", "RSemE") {}
};

// One object of the standard classifier.
struct RSemStandart {
    QString ObjCode;   // three letters
    QString ObjName;   // the description
    TSemFKNs FList;
    TSemFKNs KList;
    TSemFKNs NList;
};

class TSemStandarts : public TCursorList<RSemStandart> {
public:
    TSemStandarts() : TCursorList("TSemStandarts", "RSemStandart") {}
};

// One work semantics: a name the user sees for a standard semantics, with the
// materials, states and extended kinds that may go with it.
struct RSemWork {
    QString Semantics;   // the standard semantics it stands for
    QString WorkName;
    TSemMs MList;
    TSemSs SList;
    TSemEs EList;
};

class TSemWorks : public TCursorList<RSemWork> {
public:
    TSemWorks() : TCursorList("TSemWorks", "RSemWork") {}
};

// One sign and the sign-selecting forms of semantics that are drawn with it.
struct RSynonym {
    QString SignName;
    QStringList Codes;
};

class TSynonyms : public TCursorList<RSynonym> {
public:
    TSynonyms() : TCursorList("TSynonyms", "RSynonym") {}
};
