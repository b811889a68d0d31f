// The three small windows of the traverse built from a total-station file: the closure
// type, the ordered pick of the traverse points and, station by station, the
// observations to the previous and the next point.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "survey/UnitSokkiaServ.h"

#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

class TFormSelectTheoTypeDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormSelectTheoTypeDialog(QWidget* parent = nullptr);
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    int ClosureType() const;
};

// The closure type 1, 2 or 3 from the checked button, whatever the result.
TModalResult SelectTheoTypeDlg(int& type);

class TFormCollectSLFromSLDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormCollectSLFromSLDialog(QWidget* parent = nullptr);
    TMessageMemo* Memo1 = nullptr;
    QListWidget* ListBox1 = nullptr;   // the source
    QListWidget* ListBox2 = nullptr;   // the picks, in order
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    void BitBtn2Click();
    void BitBtn3Click();
    void SpeedButton1Click();
};

// The picks, duplicates and typed names included, into result in order whatever the
// result. The hint's parts between carriage returns are lines of the memo.
TModalResult CollectSLFromSLDlg(const QStringList& source, QStringList& result,
                                const QString& caption, const QString& hint);

// The five results of one station, as the window's fields show them (angles in
// degrees to 5 decimals, distances to 3).
struct RTheoStationAnswer {
    Extended PrevSlope = 0;
    Extended PrevElevation = 0;
    Extended Angle = 0;   // "ГУ": the left angle at the station, 0 … 360
    Extended NextSlope = 0;
    Extended NextElevation = 0;
};

class TFormTheoStantionDialog : public TDialogBase {
    Q_OBJECT
public:
    // single: only the observation to the previous point is asked.
    TFormTheoStantionDialog(const TTotalStationFile& file, const QString& prev, const QString& cur,
                            const QString& next, bool single, QWidget* parent = nullptr);

    struct RObservation {
        QString Target;
        Extended Slope = 0;
        Extended Elevation = 0;   // 90° less the zenith angle
        Extended Circle = 0;      // the horizontal circle reading
    };
    // The text of one observation in the list.
    static QString ObservationLine(const RObservation& o);

    TMessageMemo* Memo1 = nullptr;
    QListWidget* TextListBox1 = nullptr;
    QListWidget* TextListBox2 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    // Per row (0 previous, 1 next): circle, vertical, slope, horizontal distance.
    QLineEdit* Fields[2][4] = {};
    QLineEdit* neAngle = nullptr;

    void TextListBox1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn1Click();
    RTheoStationAnswer Answer() const;

private:
    void TakeObservation(int side);
    Extended FieldValue(const QLineEdit* e) const;
    const TTotalStationFile& File;
    bool Single;
    bool Taken[2] = {false, false};
    std::vector<RObservation> Observations;
};

TModalResult TheoStantionDlg(const TTotalStationFile& file, const QString& prev,
                             const QString& cur, const QString& next, bool single,
                             RTheoStationAnswer& answer);
