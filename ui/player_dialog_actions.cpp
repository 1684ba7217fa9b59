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
#include "play_list.h"
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

bool CPlayerDlg::OpenPaths(const QStringList& paths) {
    if (m_listOpening || m_player.IsBusy() || paths.isEmpty()) {
        return false;
    }
    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        list.push_back(QFile::encodeName(path).toStdString());
    }
    m_list.Replace(std::move(list));
    OpenFromList(true, true);
    return true;
}

void CPlayerDlg::OpenFromList(bool forward, bool ask) {
    m_listOpening = true;
    for (const PlayItem* item = m_list.Current(); item != nullptr; item = m_list.Current()) {
        // Each file is an action of its own: its first message is shown.
        m_gate.BeginAction();
        const QString path = QFile::decodeName(QByteArray::fromStdString(item->path));
        // The loader would find nothing to read and say nothing; the user is told which file it was.
        if (const QString message = UnreadableFileMessage(path); !message.isEmpty()) {
            m_gate.ShowMessage(message.toStdString());
        } else {
            m_lastFolder = QFileInfo(path).absolutePath();
            m_openedPath = path;
            OpenedVideo opened;
            const auto row = ask ? std::nullopt : std::optional(item->row.value_or(0));
            if (!m_playback.Open(item->path, row, &opened)) {
                break;
            }
            m_list.Opened(opened.row, opened.count);
            if (m_playback.IsPlaying()) {
                break;
            }
        }
        ask = false;
        if (!m_list.DropCurrent(forward)) {
            break;
        }
    }
    m_listOpening = false;
}

bool CPlayerDlg::StreamEnded() {
    if (m_listOpening || !m_list.Next()) {
        return false;
    }
    OpenFromList(true, false);
    return true;
}

void CPlayerDlg::MoveInList(bool forward) {
    if (m_listOpening || m_player.IsBusy()) {
        return;
    }
    if (forward ? m_list.Next() : m_list.Previous()) {
        OpenFromList(forward, false);
    }
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
