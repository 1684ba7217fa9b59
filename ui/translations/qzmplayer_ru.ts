<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About QZMPlayer</source>
        <translation>О программе QZMPlayer</translation>
    </message>
    <message>
        <source>QZMPlayer Version %1</source>
        <translation>QZMPlayer, версия %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CInfoDlg</name>
    <message>
        <source>Filename:</source>
        <translation>Имя файла:</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Версия:</translation>
    </message>
    <message>
        <source>Clip:</source>
        <translation>Название:</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Автор:</translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation>Кадров:</translation>
    </message>
    <message>
        <source>Framerate:</source>
        <translation>Частота:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>Filesize:</source>
        <translation>Размер:</translation>
    </message>
    <message>
        <source>Bitrate:</source>
        <translation>Битрейт:</translation>
    </message>
    <message>
        <source>.</source>
        <comment>decimal mark</comment>
        <translation>,</translation>
    </message>
    <message>
        <source>n/a (delay 0)</source>
        <translation>н/д (задержка 0)</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 кадр/с</translation>
    </message>
    <message numerus="yes">
        <source>%1 min  %2 sec  %n frm</source>
        <translation>
            <numerusform>%1 мин  %2 с  %n кадр</numerusform>
            <numerusform>%1 мин  %2 с  %n кадра</numerusform>
            <numerusform>%1 мин  %2 с  %n кадров</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n blocks (%1 kbytes)</source>
        <translation>
            <numerusform>%n блок (%1 Кбайт)</numerusform>
            <numerusform>%n блока (%1 Кбайт)</numerusform>
            <numerusform>%n блоков (%1 Кбайт)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 bytes/sec</source>
        <translation>%1 байт/с</translation>
    </message>
    <message>
        <source>File information</source>
        <translation>Информация о файле</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Scale method</source>
        <translation>Способ масштабирования</translation>
    </message>
    <message>
        <source>Nearest</source>
        <translation>Ближайший сосед</translation>
    </message>
    <message>
        <source>Bilinear</source>
        <translation>Билинейный</translation>
    </message>
    <message>
        <source>Biquadratic</source>
        <translation>Биквадратичный</translation>
    </message>
    <message>
        <source>Bicubuc</source>
        <translation>Бикубический</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>CSelectFileDlg</name>
    <message>
        <source>Select file</source>
        <translation>Выбор файла</translation>
    </message>
</context>
<context>
    <name>QtPlayerHost</name>
    <message>
        <source>Invalid stream!</source>
        <translation>Неверный поток!</translation>
    </message>
    <message>
        <source>Unsupported version!</source>
        <translation>Неподдерживаемая версия!</translation>
    </message>
    <message>
        <source>Wrong command!</source>
        <translation>Неверная команда!</translation>
    </message>
    <message>
        <source>Wrong LSCREEN marker!</source>
        <translation>Неверный маркер LSCREEN!</translation>
    </message>
    <message>
        <source>No videofiles found!</source>
        <translation>Видеофайлы не найдены!</translation>
    </message>
</context>
<context>
    <name>qzm::ui::CPlayerDlg</name>
    <message>
        <source>Position</source>
        <translation>Позиция</translation>
    </message>
    <message>
        <source>there is no such file</source>
        <translation>такого файла нет</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>это папка</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>его нельзя прочитать</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2.</source>
        <translation>Не удаётся открыть «%1»: %2.</translation>
    </message>
    <message>
        <source>All supported formats (*.qzm *.trd *.scl)</source>
        <translation>Все поддерживаемые форматы (*.qzm *.trd *.scl)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Play/Pause</source>
        <translation>Воспроизведение/пауза</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>File information</source>
        <translation>Информация о файле</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>Поверх всех окон</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Развернуть</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>the picture could not be written</source>
        <translation>не удалось записать картинку</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot;: %2.</source>
        <translation>Не удалось сохранить «%1»: %2.</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>Сохранено: %1</translation>
    </message>
</context>
<context>
    <name>qzmplayer</name>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>Plays QZM videos: .qzm streams, and .trd and .scl disk images holding them.
Several FILEs, or a disk image&apos;s videos after the one chosen, play one after
another as a play list.

Keys:
  Space        play or pause
  Left/Right   seek 5 seconds back or on (also the mouse wheel)
  Down/Up      seek 1 minute back or on
  ,/.          one frame back or on, pausing
  Home/End     the first or the last frame
  PgUp/PgDn    the previous or the next video of the play list
  F11/F        full screen and back (also a double click on the picture)
  S            save the frame as a PNG picture at 256 x 192
  Shift+S      save the frame as a PNG picture at its size on the screen
  Ctrl+O       open a file
  F1           about the player
  Escape       leave full screen, or close the window

Frames are saved as NAME-NNNNN.png in the pictures folder (~/Pictures).
Settings: $XDG_CONFIG_HOME/QZMPlayer.ini (by default ~/.config/QZMPlayer.ini).
&quot;man qzmplayer&quot; shows the manual.</source>
        <translation>Воспроизводит видео QZM: потоки .qzm и образы дисков .trd и .scl с ними.
Несколько ФАЙЛОВ или видео образа диска после выбранного идут одно за другим
как список воспроизведения.

Клавиши:
  Пробел       воспроизведение или пауза
  Влево/Вправо перемотка на 5 секунд назад или вперёд (также колесо мыши)
  Вниз/Вверх   перемотка на 1 минуту назад или вперёд
  ,/.          кадр назад или вперёд, с паузой
  Home/End     первый или последний кадр
  PgUp/PgDn    предыдущее или следующее видео списка
  F11/F        полный экран и обратно (также двойной щелчок по картинке)
  S            сохранить кадр в PNG размером 256 x 192
  Shift+S      сохранить кадр в PNG в размере на экране
  Ctrl+O       открыть файл
  F1           о программе
  Escape       выйти из полного экрана или закрыть окно

Кадры сохраняются как ИМЯ-NNNNN.png в папке изображений (~/Pictures).
Настройки: $XDG_CONFIG_HOME/QZMPlayer.ini (обычно ~/.config/QZMPlayer.ini).
Руководство (на английском): &quot;man qzmplayer&quot;.</translation>
    </message>
    <message>
        <source>The videos to play at start-up, one after another.</source>
        <translation>Видео для воспроизведения при запуске, одно за другим.</translation>
    </message>
    <message>
        <source>[FILE...]</source>
        <translation>[ФАЙЛ...]</translation>
    </message>
</context>
</TS>
