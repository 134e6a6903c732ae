#include "app/qt/price_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/simulation/price_series.h"
#include "app/window/price_choice.h"

namespace vlt {

PriceDialog::PriceDialog(const QString& path, const QString& column, QWidget* parent)
    : QDialog(parent),
      path_(new QLineEdit(path, this)),
      column_(new QLineEdit(column, this)),
      useFile_(new QPushButton(tr("Use this file"), this)),
      builtIn_(new QPushButton(QString::fromUtf8(kBuiltInPricesCaption), this)) {
    setWindowTitle(QString::fromUtf8(kPricesTitle));
    auto* browse = new QPushButton(tr("Browse\u2026"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    column_->setPlaceholderText(QString::fromUtf8(kDefaultPriceColumn));
    path_->setMinimumWidth(360);
    auto* file = new QHBoxLayout;
    file->addWidget(path_, 1);
    file->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(tr("Price file"), file);
    form->addRow(tr("CSV column"), column_);
    auto* note = new QLabel(tr("Either the index file's layout (YYYY-MM-DD,value) or a CSV file "
                               "with a header row naming a Date column and the column to read "
                               "(Close when left empty)."),
                            this);
    note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(builtIn_);
    buttons->addStretch(1);
    buttons->addWidget(useFile_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    useFile_->setDefault(true);
    connect(browse, &QPushButton::clicked, this, &PriceDialog::Browse);
    connect(useFile_, &QPushButton::clicked, this, [this] { done(UseFile); });
    connect(builtIn_, &QPushButton::clicked, this, [this] { done(UseBuiltIn); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(Cancelled); });
}

QString PriceDialog::Path() const { return path_->text().trimmed(); }
QString PriceDialog::Column() const { return column_->text().trimmed(); }

void PriceDialog::Browse() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, tr("Price file"), QFileInfo(Path()).absolutePath(),
                                     tr("Price files (*.csv *.txt);;All files (*)"));
    if (!chosen.isEmpty()) path_->setText(chosen);
}

}  // namespace vlt
