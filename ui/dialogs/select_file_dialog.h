// The chooser shown when a disk image holds several videos: one list of their names, no buttons.
// A double click or Enter on a name chooses it; Escape, the close box, or Enter with no name
// selected dismisses the dialog.
#pragma once

#include <QDialog>
#include <QStringList>

class QKeyEvent;
class QListWidget;

class CSelectFileDlg : public QDialog {
    Q_OBJECT

public:
    CSelectFileDlg(const QStringList& names, QWidget* parent = nullptr);

    // The selected row, the index in `names`; -1 when none is selected.
    int SelectedRow() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidget* m_list;
};
