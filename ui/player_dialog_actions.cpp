// The main window's commands: opening files, the frame timer and slider as the playback loop sees
// them, and the dialogs.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

#include "about_dialog.h"
#include "device_painter.h"
#include "file_information.h"
#include "info_dialog.h"
#include "options_dialog.h"
#include "player_dialog.h"
#include "position_slider.h"
#include "settings.h"
#include "time_box.h"

namespace qzm::ui {

// --- The playback loop's view -------------------------------------------------------------------

void CPlayerDlg::StartTimer(int periodMs) {
    m_timer->start(periodMs);
}

void CPlayerDlg::StopTimer() {
    m_timer->stop();
}

void CPlayerDlg::SetSliderMaximum(int maximum) {
    m_slider->SetMaximum(maximum);
}

void CPlayerDlg::SetSliderPosition(int position) {
    // A thumb the user holds stays where the user holds it.
    if (!m_slider->isSliderDown()) {
        m_slider->setValue(position);
    }
}

void CPlayerDlg::RepaintPicture() {
    update(ToQRect(m_scale.LogicalCover(PictureOnDevice())));
    m_time->SetTime(m_player.CurrentFrame(), m_player.Header().FrameDelay());
}

void CPlayerDlg::OnSliderAction() {
    // Every user action on the slider has already moved its position when this runs.
    m_playback.SeekTo(m_slider->sliderPosition());
}

// --- Opening files ------------------------------------------------------------------------------

QString UnreadableFileMessage(const QString& path) {
    const QFileInfo file(path);
    if (file.isFile() && file.isReadable()) {
        return {};
    }
    const QString reason = !file.exists() ? CPlayerDlg::tr("there is no such file")
                           : file.isDir() ? CPlayerDlg::tr("it is a folder")
                                          : CPlayerDlg::tr("it cannot be read");
    return CPlayerDlg::tr("Cannot open \"%1\": %2.").arg(path, reason);
}

bool CPlayerDlg::OpenPath(const QString& path) {
    m_gate.BeginAction();
    // The loader would find nothing to read and say nothing; the user is told which file it was.
    if (const QString message = UnreadableFileMessage(path); !message.isEmpty()) {
        m_gate.ShowMessage(message.toStdString());
        return true;
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    return m_playback.Open(QFile::encodeName(path).toStdString());
}

void CPlayerDlg::OnOpen() {
    // The platform's file dialog (the desktop portal where there is one), starting in the folder of
    // the last file opened. Its name filter matches the extensions in any letter case. It does not
    // block: the frame timer keeps playing behind it.
    auto* dialog =
        new QFileDialog(this, QString(), m_lastFolder, tr("All supported formats (*.qzm *.trd *.scl)"));
    dialog->setObjectName(QStringLiteral("OpenFileDialog"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The file is opened once the dialog has gone, so that the messages and the video chooser of
    // the open do not stand over it.
    connect(
        dialog, &QFileDialog::fileSelected, this, [this](const QString& file) { OpenPath(file); },
        Qt::QueuedConnection);
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
    auto* dialog = new CInfoDlg(m_player.Header(), this);
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
