#include "QtPrompts.h"

#include "LanguageTables.h"
#include "QtTranslations.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSpacerItem>
#include <QMessageBox>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace vantor {

namespace {

// Room the window frame's title bar keeps for its icon and buttons.
constexpr int kTitleButtons = 120;

}  // namespace

BoxAnswer QtPrompts::messageBox(QWidget* owner, const std::string& caption, const std::string& text, BoxIcon icon,
                                BoxButtons buttons)
{
    QMessageBox box(owner);
    box.setWindowTitle(caption.empty() ? QString::fromUtf8(lang::BoxDefaultCaption.text(qtLanguage()))
                                       : QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case BoxIcon::Information: box.setIcon(QMessageBox::Information); break;
    case BoxIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case BoxIcon::Question: box.setIcon(QMessageBox::Question); break;
    case BoxIcon::None: break;
    }
    if (buttons != BoxButtons::Ok) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == BoxButtons::YesNoDefaultNo ? QMessageBox::No : QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // A short text makes a narrow box whose title bar cuts the caption: a
    // spacer, once the box's layout is final, makes room for the caption
    // beside the frame's icon and buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int captionWidth = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 5 / 4 + kTitleButtons;
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

std::string qtFileFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // The program's type names carry their patterns already ("Calibration File (*.eta)",
        // "(*.*)"): the entry shows the patterns it really filters on, once.
        QString name = parts[i];
        if (name.endsWith(')') && name.lastIndexOf('(') >= 0)
            name.truncate(name.lastIndexOf('('));
        name = name.trimmed();
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        entries << (name.isEmpty() ? QStringLiteral("(%1)").arg(patterns) : QStringLiteral("%1 (%2)").arg(name, patterns));
    }
    return entries.join(QStringLiteral(";;")).toStdString();
}

namespace {

std::optional<std::string> chosen(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

// The model writes sizes and dates in the system's locale (its types already
// follow the default one).
class LocaleColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || role != Qt::DisplayRole || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == 3)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
    }
};

// Qt sizes the detail view's columns for English samples ("10/29/81 02:02PM"):
// wide enough here for the headers, sizes and dates of the default locale.
void widenColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const QLocale locale;
    const QStringList samples[] = {
        {},
        {locale.formattedDataSize(1023), locale.formattedDataSize(1048575)},
        {},
        {locale.toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59)), QLocale::ShortFormat)},
    };
    // The item delegate's margins around a text.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    QHeaderView* header = view->header();
    for (int column = 1; column < std::min<int>(header->count(), std::size(samples)); ++column) {
        int width = header->sectionSizeHint(column);
        for (const QString& sample : samples[column])
            width = std::max(width, view->fontMetrics().horizontalAdvance(sample) + margin);
        header->resizeSection(column, std::max(header->sectionSize(column), width));
    }
}

QString startPath(const FileRequest& request)
{
    return QDir(QString::fromStdString(request.initialFolder)).filePath(QString::fromStdString(request.initialName));
}

}  // namespace

std::unique_ptr<QFileDialog> fileDialog(const FileRequest& request, bool save)
{
    const QString filter = QString::fromStdString(qtFileFilter(request.filter));
    auto dialog =
        std::make_unique<QFileDialog>(request.owner, QString::fromStdString(request.title), startPath(request), filter);
    dialog->setProxyModel(new LocaleColumns(dialog.get()));
    widenColumns(*dialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    return dialog;
}

std::optional<std::string> QtPrompts::openFileName(const FileRequest& request)
{
    return chosen(*fileDialog(request, false));
}

std::optional<std::string> QtPrompts::saveFileName(const FileRequest& request)
{
    return chosen(*fileDialog(request, true));
}

std::optional<std::string> QtPrompts::textInput(QWidget* owner, const std::string& caption, const std::string& label,
                                                const std::string& initial)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.setLabelText(QString::fromStdString(label));
    dialog.setTextValue(QString::fromStdString(initial));
    // The text is a start to go on from ("rfc2217://"), not to type over.
    if (auto* edit = dialog.findChild<QLineEdit*>())
        QTimer::singleShot(0, edit, [edit] { edit->deselect(); edit->end(false); });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().trimmed().toStdString();
}

}  // namespace vantor
