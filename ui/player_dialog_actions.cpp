// The main window's commands: opening files, the frame timer and slider as the playback loop sees
// them, and the dialogs.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QSlider>

#include "about_dialog.h"
#include "file_information.h"
#include "image_button.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "player_dialog.h"
#include "settings.h"

namespace qzm::ui {

// --- The playback loop's view -------------------------------------------------------------------

void CPlayerDlg::StartTimer(int periodMs) {
    m_timer.start(periodMs);
}

void CPlayerDlg::StopTimer() {
    m_timer.stop();
}

void CPlayerDlg::SetSliderMaximum(int maximum) {
    m_slider->setMaximum(maximum);
}

void CPlayerDlg::SetSliderPosition(int position) {
    m_slider->setValue(position);
}

void CPlayerDlg::RepaintPicture() {
    const DisplayGeometry d = m_player.Display();
    update(d.x, d.y, d.width, d.height);
    m_time->SetTime(m_player.CurrentFrame(), m_player.Header().FrameDelay());
}

void CPlayerDlg::OnSliderAction() {
    // Every user action on the slider has already moved its position when this runs.
    m_playback.SeekTo(m_slider->sliderPosition());
}

// --- Opening files ------------------------------------------------------------------------------

bool CPlayerDlg::OpenPath(const QString& path) {
    return m_playback.Open(QFile::encodeName(path).toStdString());
}

void CPlayerDlg::OnOpen() {
    // Qt's own file dialog: its name filters ignore letter case, so CLIP.QZM and Clip.Qzm match too.
    // It does not block: the frame timer keeps playing behind it.
    auto* dialog = new QFileDialog(this, QString(), QString(),
                                   QStringLiteral("All supported formats (*.qzm *.trd *.scl)"));
    dialog->setObjectName(QStringLiteral("OpenFileDialog"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) { OpenPath(file); });
    dialog->open();
}

void CPlayerDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CPlayerDlg::dropEvent(QDropEvent* event) {
    // The first local file of the drop is opened; the others are ignored.
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            OpenPath(url.toLocalFile());
            return;
        }
    }
}

// --- Dialogs ------------------------------------------------------------------------------------

void CPlayerDlg::OnInfo() {
    if (m_pInfoDlg) {
        return;  // one at a time
    }
    auto* dialog = new CInfoDlg(FileInformation(m_player.Header()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_pInfoDlg = dialog;
    dialog->show();
}

void CPlayerDlg::OnOptions() {
    auto* dialog = new COptionsDlg(m_player.GetFilter(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // Applied even when unchanged: the renderer is rebuilt, the setting written, the window
        // repainted.
        const int filter = dialog->ChosenFilter();
        m_player.SetFilter(filter);
        WriteFilterSetting(filter);
        update();
    });
    dialog->show();
}

void CPlayerDlg::OnAbout() {
    auto* dialog = new CAboutDlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace qzm::ui
