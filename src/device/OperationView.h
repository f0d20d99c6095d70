#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zmt {

// Background of the result text: white while working, lime green after a good exchange,
// red after a failed one, yellow when a good read found the meter differing from the
// configuration; the system window colour in the legacy window's reset. A line of warning
// after a good exchange lies on yellow across the width of the text.
enum class InfoColour { Window, White, Lime, Red, Yellow };

struct ButtonView {
    bool visible = false;
    bool enabled = true;
};

// The controls that a step can give the focus to.
enum class FocusTarget { weiterbutton, nochmalbutton, Fertigbutton, Anzeige, OKButton };

// What an operation window shows, as its steps leave it. The window draws it after every
// step; the two requests are taken once, so that a later step does not pull the focus or
// overwrite what the operator types.
struct OperationView {
    QString tasklabel;
    QString Label1;
    QStringList Info;
    QList<int> warningLines;  // lines of Info shown on yellow
    InfoColour infoColour = InfoColour::White;
    bool taskpanel = true;
    bool KalPan = false;
    bool Anzeige = false;
    ButtonView weiterbutton{true, true};
    ButtonView Abbruchbutton{true, true};
    ButtonView OKButton;
    ButtonView nochmalbutton;
    ButtonView Fertigbutton{true, true};

    std::optional<FocusTarget> focusRequest;
    std::optional<QString> anzeigeTextRequest;

    void clearInfo() {
        Info.clear();
        warningLines.clear();
    }
    void addInfo(const QString& line) { Info.append(line); }
    void addWarning(const QString& line) {
        warningLines.append(static_cast<int>(Info.size()));
        Info.append(line);
    }
};

}  // namespace zmt
