#pragma once
// "Prices…": the file the simulation reads its prices from (the index
// file's layout or a CSV export) and, for a CSV file, the column to read; or
// the built-in DJIA.  The dialog only asks; PriceChoice reads the file.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vlt {

class PriceDialog final : public QDialog {
    Q_OBJECT
public:
    // How the dialog was left.
    enum Outcome { Cancelled = 0, UseFile = 1, UseBuiltIn = 2 };

    PriceDialog(const QString& path, const QString& column, QWidget* parent = nullptr);

    QString Path() const;
    QString Column() const;
    QLineEdit* PathEdit() const { return path_; }
    QLineEdit* ColumnEdit() const { return column_; }
    QPushButton* UseFileButton() const { return useFile_; }
    QPushButton* BuiltInButton() const { return builtIn_; }

private:
    void Browse();

    QLineEdit* path_;
    QLineEdit* column_;
    QPushButton* useFile_;
    QPushButton* builtIn_;
};

}  // namespace vlt
