// The small input windows, the two-way question, the hot-key reference and the about
// window, driven through their entry routines as a user would: keys and clicks on the
// controls by name, the values handed back whatever the result.
#include "DialogsTestSupport.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ui/FirstStart.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <utility>

TEST(ProgramWindowsWithoutHooks, EveryEntryAnswersCancelAndKeepsItsArguments)
{
    TScopedProgramDialogHooks none;
    int i = 5, j = 6;
    Extended x = 1.5L, y = 2.5L;
    TPixelDepth depth = 3;
    EXPECT_EQ(InpIntDialog(i, QStringLiteral("а"), QStringLiteral("б")), mrCancel);
    EXPECT_EQ(InpFltDialog(x, QStringLiteral("а"), QStringLiteral("б")), mrCancel);
    EXPECT_EQ(InpCoordDialog(QStringLiteral("а"), x, y), mrCancel);
    EXPECT_EQ(InpOtmDialog(x), mrCancel);
    EXPECT_EQ(Ask2WayDialog(QStringLiteral("а"), QStringLiteral("б"), QStringLiteral("1"),
                            QStringLiteral("2")),
              mrCancel);
    EXPECT_EQ(Inp3IntDialog(i, x, y, QStringLiteral("а"), {}, {}, {}), mrCancel);
    EXPECT_EQ(Inp2IntDialog(i, j, QStringLiteral("а"), {}, {}), mrCancel);
    EXPECT_EQ(InpAngleDialog(x, QStringLiteral("а")), mrCancel);
    EXPECT_EQ(ShowHotKeys(), mrCancel);
    EXPECT_EQ(ShowAbout(), mrCancel);
    EXPECT_EQ(SaveRastrDlg(i, x, depth, 0, 0, 1, 1), mrCancel);
    EXPECT_EQ(PrintScaleDlg(i, depth, x, y), mrCancel);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(j, 6);
    EXPECT_EQ(x, 1.5L);
    EXPECT_EQ(y, 2.5L);
    EXPECT_EQ(depth, 3);
}

TEST_F(ProgramWindows, MessageWindowsOpenOnTheMousePushedBackAtRightAndBottom)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect work = screen->availableGeometry();
    TFormInpIntDialog form(1, QStringLiteral("Число"), QStringLiteral("первая\rвторая"));
    // A two-line message: three text heights and the room of the controls.
    EXPECT_EQ(form.height(), 3 * form.TextHeight() + 50);
    const QSize size = form.size();
    struct Case {
        const char* Corner;
        QPoint Mouse;
        bool EndsAtRight, EndsAtBottom;   // pushed back to the work area's edge
    };
    const Case cases[] = {
        {"upper left", work.topLeft(), false, false},
        {"upper right", QPoint(work.right() + 1, work.top()), true, false},
        {"lower left", QPoint(work.left(), work.bottom() + 1), false, true},
        {"lower right", work.bottomRight() + QPoint(1, 1), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Corner);
        QCursor::setPos(c.Mouse);
        if (QCursor::pos() != c.Mouse)
            GTEST_SKIP() << "this platform does not move the pointer";
        form.PlaceOnMouse();
        const QPoint centred = CentredOn(c.Mouse, size);
        EXPECT_EQ(form.x(), c.EndsAtRight ? work.right() + 1 - size.width() : centred.x());
        EXPECT_EQ(form.y(), c.EndsAtBottom ? work.bottom() + 1 - size.height() : centred.y());
    }
    // At the upper left corner the window reaches beyond the screen's top and left.
    QCursor::setPos(work.topLeft());
    form.PlaceOnMouse();
    EXPECT_LT(form.x(), work.left());
    EXPECT_LT(form.y(), work.top());
}

TEST_F(ProgramWindows, IntegerInputTypedEnterAndEsc)
{
    struct Case {
        const char* Typed;
        TModalScript::TStep Close;
        TModalResult Result;
        int Value;
    };
    const Case cases[] = {
        {"42", Enter, mrOk, 42},
        {"-7", Esc, mrCancel, -7},
        {"", Enter, mrOk, 5},   // a cleared field gets its previous value back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        int value = 5;
        TModalScript script;
        script.Then("TFormInpIntDialog", [&c](QWidget* w) {
            EXPECT_EQ(w->focusWidget(), Control(w, "Button1")) << "the tab order starts with OK";
            TypeInto(w, "NumEdit1", QString::fromUtf8(c.Typed));
            c.Close(w);
        });
        EXPECT_EQ(InpIntDialog(value, QStringLiteral("Интерполяция"), QStringLiteral("Шаг сечения")),
                  c.Result);
        EXPECT_EQ(value, c.Value);
        EXPECT_TRUE(script.Done());
    }
}

TEST_F(ProgramWindows, RealInputEscStillWritesTheEditedValue)
{
    struct Case {
        const char* Typed;
        TModalScript::TStep Close;
        TModalResult Result;
        Extended Value;
    };
    const Case cases[] = {{"3,25", Esc, mrCancel, 3.25L},
                          {"12.5", Enter, mrOk, 12.5L},
                          {"", Enter, mrOk, 0.05L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Extended value = 0.05L;
        TModalScript script;
        script.Then("TFormInpFltDialog", [&c](QWidget* w) {
            EXPECT_EQ(w->focusWidget(), Control(w, "NumEdit1")) << "the field comes first";
            TypeInto(w, "NumEdit1", QString::fromUtf8(c.Typed));
            c.Close(w);
        });
        EXPECT_EQ(InpFltDialog(value, QStringLiteral("Точность построения"),
                               QStringLiteral("введите отклонения прямых от окружности")),
                  c.Result);
        EXPECT_EQ(value, c.Value);
    }
}

TEST_F(ProgramWindows, CoordinateStepButtons)
{
    struct Case {
        const char* Button;
        Extended X, Y;
    };
    const Case cases[] = {{"up", 150, 200},       {"down", 50, 200},      {"left", 100, 150},
                          {"right", 100, 250},    {"upleft", 150, 150},   {"upright", 150, 250},
                          {"downleft", 50, 150},  {"downright", 50, 250}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Button);
        Extended x = 100, y = 200;
        TModalScript script;
        script.Then("TFormInpCoordDialog", [&c](QWidget* w) {
            EXPECT_EQ(Control<QLineEdit>(w, "NumEdit3")->text(), QStringLiteral("50.000"));
            Click(w, c.Button);
            EXPECT_EQ(Control<TNumEdit>(w, "NumEdit1")->FloatValue(), c.X);
            EXPECT_EQ(Control<TNumEdit>(w, "NumEdit2")->FloatValue(), c.Y);
            Enter(w);
        });
        EXPECT_EQ(InpCoordDialog(QStringLiteral("Привязка растра"), x, y), mrOk);
        EXPECT_EQ(x, c.X);
        EXPECT_EQ(y, c.Y);
    }
    // The step as typed, and the edits written with three decimals.
    Extended x = 100, y = 200;
    TModalScript script;
    script.Then("TFormInpCoordDialog", [](QWidget* w) {
        TypeInto(w, "NumEdit3", QStringLiteral("0,5"));
        Click(w, "downright");
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit1")->text(), QStringLiteral("99.500"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit2")->text(), QStringLiteral("200.500"));
        SaveWindowPicture(w, QStringLiteral("inp-coord"));
        Esc(w);
    });
    EXPECT_EQ(InpCoordDialog(QStringLiteral("Привязка растра"), x, y), mrCancel);
    EXPECT_EQ(x, 99.5L);
    EXPECT_EQ(y, 200.5L);
}

TEST_F(ProgramWindows, HeightMarkBorderlessWithItsTextSelected)
{
    struct Case {
        const char* Typed;
        TModalScript::TStep Close;
        TModalResult Result;
        Extended Height;
    };
    const Case cases[] = {{"154,3", Enter, mrOk, 154.3L}, {"7", Esc, mrCancel, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        Extended height = 120.25L;
        TModalScript script;
        script.Then("TFormInpOtm", [&c](QWidget* w) {
            EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
            EXPECT_EQ(w->size(), QSize(115, 23));
            auto* edit = Control<QLineEdit>(w, "NumEdit1");
            EXPECT_EQ(edit->selectedText(), QStringLiteral("120.25"));
            // What is typed replaces the selected height.
            TypeText(edit, QString::fromUtf8(c.Typed));
            c.Close(w);
        });
        EXPECT_EQ(InpOtmDialog(height), c.Result);
        EXPECT_EQ(height, c.Height);
    }
}

TEST_F(ProgramWindows, TwoWayQuestionAnswers)
{
    const std::pair<TModalScript::TStep, TModalResult> cases[] = {
        {Enter, 100},
        {[](QWidget* w) { Click(w, "BitBtn2"); }, 101},
        {Esc, mrCancel},
    };
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TForm2WayDialog", [act](QWidget* w) {
            EXPECT_EQ(Control<QPushButton>(w, "BitBtn1")->text(), QStringLiteral("Штамп"));
            EXPECT_EQ(Control<QPushButton>(w, "BitBtn2")->text(), QStringLiteral("Рамка"));
            act(w);
        });
        EXPECT_EQ(Ask2WayDialog(QStringLiteral("Штамп или рамка"), QStringLiteral("Что вставить?"),
                                QStringLiteral("Штамп"), QStringLiteral("Рамка")),
                  expected);
    }
}

TEST_F(ProgramWindows, ThreeValuesCopiedBack)
{
    int n = 2;
    Extended a = 10, b = -5;
    TModalScript script;
    script.Then("TFormInp3IntDialog", [](QWidget* w) {
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QStringLiteral("число копий"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit2")->text(), QStringLiteral("10.000"));
        TypeInto(w, "NumEdit1", QStringLiteral("4"));
        TypeInto(w, "NumEdit3", QStringLiteral("2,5"));
        Esc(w);
    });
    EXPECT_EQ(Inp3IntDialog(n, a, b, QStringLiteral("Настройка копирования"),
                            QStringLiteral("число копий"), QStringLiteral("смещение по X"),
                            QStringLiteral("смещение по Y")),
              mrCancel);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 2.5L);
}

TEST_F(ProgramWindows, TwoValuesTheSecondReadAsAWholeNumber)
{
    struct Case {
        const char* Typed;
        int B;
    };
    // The Russian separators: "," decimal, blank for thousands.
    TSeparatorScope russian(QLatin1Char(','), QLatin1Char(' '));
    for (const Case& c : {Case{"300", 300}, Case{"1 200", 1200}, Case{"12,5", 0}}) {
        SCOPED_TRACE(c.Typed);
        int a = 1, b = 96;
        TModalScript script;
        script.Then("TFormInp2IntDialog", [&c](QWidget* w) {
            EXPECT_EQ(Control<QLineEdit>(w, "NumEdit2")->text(), QStringLiteral("96"));
            TypeInto(w, "NumEdit1", QStringLiteral("200"));
            TypeInto(w, "NumEdit2", QString::fromUtf8(c.Typed));
            Enter(w);
        });
        EXPECT_EQ(Inp2IntDialog(a, b, QStringLiteral("Разрешение растра"),
                                QStringLiteral("по горизонтали"), QStringLiteral("по вертикали")),
                  mrOk);
        EXPECT_EQ(a, 200);
        EXPECT_EQ(b, c.B);
    }
}

TEST_F(ProgramWindows, AngleSplitIntoDegreesMinutesSeconds)
{
    Extended angle = 30.5L;
    TModalScript script;
    script.Then("TFormInpAngleDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Поворот"));
        EXPECT_EQ(Control<QLineEdit>(w, "A1G")->text(), QStringLiteral("30"));
        EXPECT_EQ(Control<QLineEdit>(w, "A1m")->text(), QStringLiteral("30"));
        EXPECT_EQ(Control<QLineEdit>(w, "A1s")->text(), QStringLiteral("0"));
        Enter(w);
    });
    EXPECT_EQ(InpAngleDialog(angle, QStringLiteral("Поворот")), mrOk);
    EXPECT_EQ(angle, 30.5L);

    script.Then("TFormInpAngleDialog", [](QWidget* w) {
        TypeInto(w, "A1G", QStringLiteral("45"));
        TypeInto(w, "A1m", QStringLiteral("15"));
        TypeInto(w, "A1s", QStringLiteral("36"));
        Esc(w);
    });
    EXPECT_EQ(InpAngleDialog(angle, QString()), mrCancel);
    EXPECT_EQ(angle, 45.26L);
}

TEST_F(ProgramWindows, HotKeysShowTheReferenceText)
{
    const QStringList& lines = HotKeyLines();
    ASSERT_EQ(lines.size(), 44);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_EQ(lines[1], QStringLiteral("F1         - режим создания точечных объектов"));
    EXPECT_EQ(lines[12], QStringLiteral("пробел -переключение между найденными объектами (выбор объекта) "));
    EXPECT_EQ(lines[43], QStringLiteral("Shift     - ортогональное (относительно координат) перемещение"));
    TModalScript script;
    script.Then("TFormHotKeys", [&lines](QWidget* w) {
        auto* memo = Control<QPlainTextEdit>(w, "Memo1");
        EXPECT_EQ(w->focusWidget(), memo);
        EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), lines);
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        SaveWindowPicture(w, QStringLiteral("hot-keys"));
        Click(w, "Button1");
    });
    EXPECT_EQ(ShowHotKeys(), mrOk);
}

TEST_F(ProgramWindows, AboutOpensTheLicencePage)
{
    const QString savedName = std::exchange(AppName, QStringLiteral("Velmora"));
    const QString savedVersion = std::exchange(AppVersion, QStringLiteral("6.0"));
    QImage picture(450, 210, QImage::Format_RGB32);
    picture.fill(QColor(0x1E, 0x3A, 0x5F));
    TFormAbout about(picture);
    AppName = savedName;
    AppVersion = savedVersion;
    QString launched;
    about.Launch = [&launched](const QString& file) { launched = file; };
    EXPECT_EQ(about.ProgramName->text(), QStringLiteral("Velmora 6.0"));
    emit about.LicenceLink->linkActivated(QStringLiteral("licence"));
    EXPECT_EQ(launched, LicenceFileName());
    SaveWindowPicture(&about, QStringLiteral("about"));

    const std::pair<TModalScript::TStep, TModalResult> cases[] = {{Enter, mrOk}, {Esc, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormAbout", act);
        EXPECT_EQ(ShowAbout(), expected);
    }
}

TEST_F(ProgramWindows, PicturesForReview)
{
    const QString message = QStringLiteral("Введите шаг сечения рельефа, м\rдля интерполяции высот");
    TFormInpIntDialog integer(5, QStringLiteral("Интерполяция высот"), message);
    SaveWindowPicture(&integer, QStringLiteral("inp-int"));
    TFormInpFltDialog real(0.05L, QStringLiteral("Точность построения"),
                           QStringLiteral("введите отклонения прямых от окружности"));
    SaveWindowPicture(&real, QStringLiteral("inp-flt"));
    TFormInpOtm otm(154.3L);
    SaveWindowPicture(&otm, QStringLiteral("inp-otm"));
    TForm2WayDialog twoWay(QStringLiteral("Вставка"), QStringLiteral("Вставить штамп или рамку листа?"),
                           QStringLiteral("Штамп"), QStringLiteral("Рамка"));
    SaveWindowPicture(&twoWay, QStringLiteral("ask-2way"));
    TFormInp3IntDialog three(1, 10, 0, QStringLiteral("Настройка копирования"),
                             QStringLiteral("число копий"), QStringLiteral("смещение по X"),
                             QStringLiteral("смещение по Y"));
    SaveWindowPicture(&three, QStringLiteral("inp-3int"));
    TFormInp2IntDialog two(200, 200, QStringLiteral("Разрешение растра"),
                           QStringLiteral("по горизонтали, DPI"), QStringLiteral("по вертикали, DPI"));
    SaveWindowPicture(&two, QStringLiteral("inp-2int"));
    TFormInpAngleDialog angle(123.456L, QStringLiteral("Ввод угла"));
    SaveWindowPicture(&angle, QStringLiteral("inp-angle"));
}
