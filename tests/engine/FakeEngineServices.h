// A scripted window for the plan engine: answers questions from a queue, records
// every message, panel text and button state, and counts the wait cursor.
#pragma once

#include "engine/EngineServices.h"

#include <QImage>
#include <deque>
#include <map>
#include <utility>

class TFakeEngineServices : public TEngineServices {
public:
    struct RAsked {
        QString Kind;      // "ShowMsg", "ShowQ", "InpStr", ...
        QString Caption;
        QString Text;
    };

    // Answers in order; an empty queue answers 2 (cancel). Texts go to the value a
    // question hands back (InpStr, DublicateItem, SelStr's typed text, OpenFile).
    std::deque<int> Answers;
    std::deque<QString> Texts;
    std::vector<RAsked> Asked;

    std::map<TEnginePanel, QString> Panels;
    std::vector<std::pair<TEnginePanel, QString>> PanelHistory;
    int WaitDepth = 0;
    int WaitCalls = 0;
    int Pauses = 0;
    int Resumes = 0;
    int UndoEnabled = -1;   // -1: never set
    int RedoEnabled = -1;
    QSize Surface;

    int ShowMsg(const QString& caption, const QString& text) override
    {
        return Ask(QStringLiteral("ShowMsg"), caption, text);
    }
    int ShowQ(const QString& caption, const QString& text) override
    {
        return Ask(QStringLiteral("ShowQ"), caption, text);
    }
    int InpStr(QString& value, const QString& caption, const QString& text) override
    {
        const int r = Ask(QStringLiteral("InpStr"), caption, text);
        TakeText(value);
        return r;
    }
    int InpScale(int& denominator, const QString& caption, const QString& text) override
    {
        const int r = Ask(QStringLiteral("InpScale"), caption, text);
        QString t;
        if (TakeText(t))
            denominator = t.toInt();
        return r;
    }
    int SelStr(QStringList& list, int& index, int& added, const QString& caption,
               const QString& text) override
    {
        const int r = Ask(QStringLiteral("SelStr"), caption, text);
        QString t;
        added = 0;
        if (TakeText(t)) {
            index = static_cast<int>(list.indexOf(t));
            if (index < 0) {
                list.append(t);
                index = static_cast<int>(list.size()) - 1;
                added = 1;
            }
        }
        return r;
    }
    int DublicateItem(QString& name, const QString& caption, const QString& text) override
    {
        const int r = Ask(QStringLiteral("DublicateItem"), caption, text);
        TakeText(name);
        return r;
    }
    int QDelObjects(const QStringList& lines) override
    {
        return Ask(QStringLiteral("QDelObjects"), QString(), lines.join(QLatin1Char('\n')));
    }
    bool OpenFile(const QString& title, QString& fileName) override
    {
        const int r = Ask(QStringLiteral("OpenFile"), title, QString());
        return r == 1 && TakeText(fileName);
    }

    void SetPanelText(TEnginePanel panel, const QString& text) override
    {
        Panels[panel] = text;
        PanelHistory.emplace_back(panel, text);
    }
    void BeginWaitCursor() override
    {
        ++WaitDepth;
        ++WaitCalls;
    }
    void EndWaitCursor() override
    {
        if (WaitDepth > 0)
            --WaitDepth;
    }
    QSize SurfaceSize() const override { return Surface; }
    void PauseOverlays() override { ++Pauses; }
    void ResumeOverlays() override { ++Resumes; }
    void SetUndoEnabled(bool enabled) override { UndoEnabled = enabled ? 1 : 0; }
    void SetRedoEnabled(bool enabled) override { RedoEnabled = enabled ? 1 : 0; }

private:
    int Ask(const QString& kind, const QString& caption, const QString& text)
    {
        Asked.push_back({kind, caption, text});
        if (Answers.empty())
            return 2;
        const int r = Answers.front();
        Answers.pop_front();
        return r;
    }
    bool TakeText(QString& value)
    {
        if (Texts.empty())
            return false;
        value = Texts.front();
        Texts.pop_front();
        return true;
    }
};
