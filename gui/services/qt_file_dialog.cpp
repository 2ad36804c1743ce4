#include "gui/services/qt_file_dialog.h"

#include <QFileDialog>

#include "gui/widgets/widget_text.h"

namespace tolvane {

QtFileDialog::QtFileDialog(Mode mode, std::string_view filter, int preselected, QWidget* parent)
    : mode_(mode), name_filters_(NameFilters(filter)), parent_(parent) {
    if (preselected >= 0 && preselected < name_filters_.size()) {
        last_filter_ = name_filters_.at(preselected);
    }
}

QStringList QtFileDialog::NameFilters(std::string_view filter) {
    const QStringList parts = ToWidgetText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        const QString pattern = QLatin1Char('(') + parts.at(i + 1) + QLatin1Char(')');
        filters.append(description.endsWith(pattern) ? description
                                                     : description + QLatin1Char(' ') + pattern);
    }
    return filters;
}

std::optional<std::string> QtFileDialog::Choose() {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(mode_ == Mode::kSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(name_filters_);
    dialog.selectNameFilter(last_filter_);
    if (!last_name_.isEmpty()) {
        dialog.selectFile(last_name_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    last_name_ = dialog.selectedFiles().constFirst();
    last_filter_ = dialog.selectedNameFilter();
    return FromWidgetText(last_name_);
}

}  // namespace tolvane
