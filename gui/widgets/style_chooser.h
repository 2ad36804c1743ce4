#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QString>

namespace tolvane {

// The style chooser: a drop-down list of fixed entries, drawn by the program in
// rows of 16 pixels (text 2 pixels from the left, the selected row in the highlight colours, a
// focus rectangle around the focused row), eight rows open. No free text: typing selects the
// first entry that begins with the keys typed so far, in any letter case, and a pause of half a
// second starts a new prefix. Every change of the selection by the user (mouse, arrow keys,
// typing) emits `activated` once the new entry is selected.
class StyleChooser : public QComboBox {
    Q_OBJECT

  public:
    static constexpr int kRowHeight = 16;
    static constexpr int kTextIndent = 2;
    static constexpr int kVisibleRows = 8;
    static constexpr qint64 kPrefixPauseMs = 500;

    explicit StyleChooser(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Extends or restarts the typed prefix; the first entry it begins, or -1.
    int EntryForTyped(const QString& typed);

    QString prefix_;
    QElapsedTimer since_last_key_;
};

}  // namespace tolvane
