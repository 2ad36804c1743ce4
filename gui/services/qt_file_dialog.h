#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "core/services/file_chooser.h"

namespace tolvane {

// A file dialog of the program (Save list, Open list, the style sheet and the export dialogs)
// with Qt's own dialog. It never asks before overwriting, never appends an extension and accepts
// names that do not exist, in both modes. It opens on the name and filter chosen last during this
// run (the preselected filter the first time). Qt's dialog has no read-only check box to hide.
class QtFileDialog : public FileChooser {
  public:
    enum class Mode { kOpen, kSave };

    // `filter` lists description and pattern pairs separated by "|", as in
    // "CSS Styles (*.css)|*.css|Any Files (*)|*"; `preselected` counts the pairs from 0.
    QtFileDialog(Mode mode, std::string_view filter, int preselected, QWidget* parent = nullptr);

    std::optional<std::string> Choose() override;

    // Qt's name filters for a "|"-separated filter text: each description gets its pattern in
    // parentheses unless it already ends with it.
    static QStringList NameFilters(std::string_view filter);

  private:
    Mode mode_;
    QStringList name_filters_;
    QString last_filter_;
    QString last_name_;
    QWidget* parent_;
};

}  // namespace tolvane
