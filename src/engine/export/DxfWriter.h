// The stream of an ASCII DXF file: pairs of a group code, right-aligned in three
// characters, and its value, every line in code page 1251 ended by CR LF, gathered in a
// block that goes to the device whenever it grows large, so that a plan of any size is
// written without its entities ever being held as lines of text.
#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstddef>
#include <vector>

class TDxfWriter {
public:
    // out: where the bytes go (link, not owned); null keeps them all in the block, where
    // Text() reads them.
    explicit TDxfWriter(QIODevice* out);
    ~TDxfWriter() = default;
    TDxfWriter(const TDxfWriter&) = delete;
    TDxfWriter& operator=(const TDxfWriter&) = delete;

    // One line as it is (the header of the template).
    void Line(QStringView line);
    // The group code (0 to 999) right-aligned in three characters, then the value.
    void Pair(int code, QStringView value);
    // A pair whose value is a text of the plan: one text that the file cannot hold as it
    // stands must not cost the whole export, so a character code page 1251 has no place
    // for becomes "?" and a line break (CR LF, CR or LF) a blank, and the text is counted.
    void TextPair(int code, QStringView text);
    // How many texts TextPair had to change.
    int ChangedTexts() const { return Changed; }
    // Everything still in the block to the device. Raises "Ошибка записи файла DXF: …".
    void Flush();
    // What the block holds, decoded (a writer without a device).
    QString Text() const;
    // The block's lines without their ends (a writer without a device).
    QStringList Lines() const;

private:
    // Raises, naming the character and the line, for a character code page 1251 has no
    // place for and for a line break, which would cut the file's pairs apart.
    void Put(QStringView text, QStringView line);

    QIODevice* Out;   // link, not owned
    std::vector<char> Block;
    std::size_t Used = 0;
    int Changed = 0;
};
