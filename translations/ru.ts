<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>DiskSpaceWatch</name>
    <message>
        <source>Camera picture only writes about %1 a minute: the disk has room for %2 more.</source>
        <translation>«Только изображение камеры» записывает около %1 в минуту: места на диске хватит ещё на %2.</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 ГБ</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 МБ</translation>
    </message>
    <message>
        <source>less than a minute</source>
        <translation>меньше минуты</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 мин</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 ч %2 мин</translation>
    </message>
</context>
<context>
    <name>VideoFilterWidget</name>
    <message>
        <source>Colour</source>
        <translation>Цветное</translation>
    </message>
    <message>
        <source>Grey</source>
        <translation>Оттенки серого</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Документ</translation>
    </message>
    <message>
        <source>Black and White</source>
        <translation>Чёрно-белое</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>Подключите документ-камеру, чтобы начать работу с приложением</translation>
    </message>
    <message>
        <source>No program on this desktop opens %1.</source>
        <translation>Ни одна программа на этом компьютере не открывает %1.</translation>
    </message>
    <message>
        <source>The recording stopped: the camera was unplugged. What was recorded is saved.</source>
        <translation>Запись остановлена: камера отключена. Записанное сохранено.</translation>
    </message>
    <message>
        <source>This file cannot be shown beside the live picture.</source>
        <translation>Этот файл нельзя показать рядом с живым изображением.</translation>
    </message>
</context>
<context>
    <name>PictureToolsController</name>
    <message>
        <source>Focus</source>
        <translation>Фокусировка</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Отражение</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Поворот</translation>
    </message>
    <message>
        <source>Video Filters</source>
        <translation>Видеофильтры</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Переворот</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>%1 cannot be changed while the camera sets it automatically</source>
        <translation>«%1» нельзя изменить, пока камера настраивает это автоматически</translation>
    </message>
    <message>
        <source>The camera did not take the change of %1</source>
        <translation>Камера не приняла изменение: %1</translation>
    </message>
    <message>
        <source>Focusing the camera</source>
        <translation>Фокусировка камеры</translation>
    </message>
    <message>
        <source>Focused</source>
        <translation>Фокус наведён</translation>
    </message>
    <message>
        <source>This camera cannot focus by itself</source>
        <translation>Эта камера не умеет фокусироваться сама</translation>
    </message>
</context>
<context>
    <name>AboutWidget</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Pagelux</source>
        <translation>Pagelux</translation>
    </message>
    <message>
        <source>Current Version: V1.0.0</source>
        <translation>Текущая версия: V1.0.0</translation>
    </message>
    <message>
        <source>Copyright © 2026 the Pagelux developers. All rights reserved.</source>
        <translation>© 2026 Разработчики Pagelux. Все права защищены.</translation>
    </message>
</context>
<context>
    <name>AdjustWidget</name>
    <message>
        <source>Brightness</source>
        <translation>Яркость</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Контрастность</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Насыщенность</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Оттенок</translation>
    </message>
    <message>
        <source>White Balance, Automatic</source>
        <translation>Автоматический баланс белого</translation>
    </message>
    <message>
        <source>White Balance Temperature</source>
        <translation>Цветовая температура</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Гамма</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Усиление</translation>
    </message>
    <message>
        <source>Power Line Frequency</source>
        <translation>Частота электросети</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>Резкость</translation>
    </message>
    <message>
        <source>Backlight Compensation</source>
        <translation>Компенсация засветки</translation>
    </message>
    <message>
        <source>Auto Exposure</source>
        <translation>Автоэкспозиция</translation>
    </message>
    <message>
        <source>Exposure Time, Absolute</source>
        <translation>Время экспозиции</translation>
    </message>
    <message>
        <source>Exposure, Dynamic Framerate</source>
        <translation>Экспозиция с переменной частотой кадров</translation>
    </message>
    <message>
        <source>Focus, Absolute</source>
        <translation>Фокус</translation>
    </message>
    <message>
        <source>Focus, Automatic Continuous</source>
        <translation>Непрерывная автофокусировка</translation>
    </message>
    <message>
        <source>Zoom, Absolute</source>
        <translation>Масштаб</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Выключено</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Гц</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Гц</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>Manual Mode</source>
        <translation>Ручной режим</translation>
    </message>
    <message>
        <source>Aperture Priority Mode</source>
        <translation>Приоритет диафрагмы</translation>
    </message>
    <message>
        <source>Shutter Priority Mode</source>
        <translation>Приоритет выдержки</translation>
    </message>
    <message>
        <source>Auto Mode</source>
        <translation>Автоматический режим</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Повернуть влево</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Повернуть вправо</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Отразить</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Перевернуть</translation>
    </message>
    <message>
        <source>This camera offers no picture controls.</source>
        <translation>У этой камеры нет настроек изображения.</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Сбросить</translation>
    </message>
    <message>
        <source>The camera's own settings, upright and not mirrored</source>
        <translation>Настройки камеры по умолчанию, без поворота и отражения</translation>
    </message>
</context>
<context>
    <name>CSelectMenu</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>CaptureSettingsPage</name>
    <message>
        <source>Pages</source>
        <translation>Страницы</translation>
    </message>
    <message>
        <source>Crop and straighten pages</source>
        <translation>Обрезать и выравнивать страницы</translation>
    </message>
    <message>
        <source>Capture each new page by itself</source>
        <translation>Снимать каждую новую страницу самостоятельно</translation>
    </message>
    <message>
        <source>after it lies still for</source>
        <translation>когда она лежит неподвижно</translation>
    </message>
    <message>
        <source>Split two-page spreads into two files</source>
        <translation>Делить разворот на два файла</translation>
    </message>
    <message>
        <source>Captured Files</source>
        <translation>Снятые файлы</translation>
    </message>
    <message>
        <source>Resolution written in files (DPI)</source>
        <translation>Разрешение в файлах (DPI)</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>JPEG quality</source>
        <translation>Качество JPEG</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Read the page&apos;s text in</source>
        <translation>Распознавать текст страницы на языках</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1 (не установлен)</translation>
    </message>
</context>
<context>
    <name>LanguageWidget</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
</context>
<context>
    <name>MaskWidget</name>
    <message>
        <source>Curtain</source>
        <translation>Шторка</translation>
    </message>
    <message>
        <source>Spotlight</source>
        <translation>Прожектор</translation>
    </message>
    <message>
        <source>Round spotlight</source>
        <translation>Круглый прожектор</translation>
    </message>
    <message>
        <source>Rectangular spotlight</source>
        <translation>Прямоугольный прожектор</translation>
    </message>
</context>
<context>
    <name>PageScan</name>
    <message>
        <source>Crop and straighten pages: on</source>
        <translation>Обрезка и выравнивание страниц: вкл.</translation>
    </message>
    <message>
        <source>Crop and straighten pages: off</source>
        <translation>Обрезка и выравнивание страниц: выкл.</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: on</source>
        <translation>Автоснимок каждой новой страницы: вкл.</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: off</source>
        <translation>Автоснимок каждой новой страницы: выкл.</translation>
    </message>
    <message>
        <source>Waiting for a new page</source>
        <translation>Ожидание новой страницы</translation>
    </message>
    <message>
        <source>Page moving</source>
        <translation>Страница движется</translation>
    </message>
    <message>
        <source>Hold still</source>
        <translation>Не двигайте</translation>
    </message>
    <message>
        <source>Captured</source>
        <translation>Снято</translation>
    </message>
    <message>
        <source>Automatic capture paused</source>
        <translation>Автоснимок приостановлен</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Left</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Меню</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Right</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Split Screen</source>
        <translation>Разделить экран</translation>
    </message>
    <message>
        <source>Show Folder</source>
        <translation>Показать папку</translation>
    </message>
    <message>
        <source>Hide Folder</source>
        <translation>Скрыть папку</translation>
    </message>
</context>
<context>
    <name>settingDevWidget</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Видео</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Устройство</translation>
    </message>
    <message>
        <source>Video Format</source>
        <translation>Формат видео</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Разрешение</translation>
    </message>
    <message>
        <source>File Saving Location</source>
        <translation>Папка для сохранения</translation>
    </message>
    <message>
        <source>Browser</source>
        <translation>Обзор</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Инструменты</translation>
    </message>
    <message>
        <source>Show all tools</source>
        <translation>Показать все инструменты</translation>
    </message>
    <message>
        <source>File Name Prefix</source>
        <translation>Префикс имени файла</translation>
    </message>
    <message>
        <source>YYYY-MM-DD_5 digit</source>
        <translation>ГГГГ-ММ-ДД_5 цифр</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Префикс</translation>
    </message>
    <message>
        <source>_5 digit</source>
        <translation>_5 цифр</translation>
    </message>
    <message>
        <source>Select File Saving Location</source>
        <translation>Выберите папку для сохранения</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Съёмка</translation>
    </message>
</context>
<context>
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="94"/>
        <source>No load image</source>
        <translation>Не удалось загрузить изображение</translation>
    </message>
</context>
<context>
    <name>FileListWidget</name>
    <message>
        <source>Save as PDF</source>
        <translation>Сохранить в PDF</translation>
    </message>
    <message>
        <source>with searchable text</source>
        <translation>с текстом для поиска</translation>
    </message>
    <message>
        <source>Copy text</source>
        <translation>Копировать текст</translation>
    </message>
</context>
<context>
    <name>ComparePane</name>
    <message>
        <source>No captured picture yet: capture one, or click a file in the folder panel.</source>
        <translation>Снимков пока нет: сделайте снимок или выберите файл на панели папки.</translation>
    </message>
</context>
<context>
    <name>EraseWiget</name>
    <message>
        <location filename="../src/annotation/erasewiget.ui" line="14"/>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="63"/>
        <source>Eraser</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="94"/>
        <source>Point Eraser</source>
        <translation>Точечный</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="97"/>
        <source>Clear All</source>
        <translation>Очистить всё</translation>
    </message>
</context>
<context>
    <name>PenWidget</name>
    <message>
        <location filename="../src/annotation/penwidget.ui" line="14"/>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="113"/>
        <source>Smooth Pen</source>
        <translation>Гладкое перо</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="156"/>
        <source>thickness</source>
        <translation>Толщина</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Pen</source>
        <translation>Ручка</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Highlighter</source>
        <translation>Маркер</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Line</source>
        <translation>Линия</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Arrow</source>
        <translation>Стрелка</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Rectangle</source>
        <translation>Прямоугольник</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Ellipse</source>
        <translation>Эллипс</translation>
    </message>
</context>
<context>
    <name>ToolsWidget</name>
    <message>
        <location filename="../src/toolbars/toolswidget.ui" line="14"/>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="19"/>
        <source>Move</source>
        <translation>Сдвиг</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="20"/>
        <source>Select</source>
        <translation>Выделение</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="21"/>
        <source>Annotation</source>
        <translation>Пометки</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="22"/>
        <source>Eraser</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="23"/>
        <source>Text Tool</source>
        <translation>Текст</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="24"/>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="25"/>
        <source>Video Fliters</source>
        <translation>Фильтры</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="26"/>
        <source>Masking</source>
        <translation>Маска</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="27"/>
        <source>Adjustment</source>
        <translation>Коррекция</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="28"/>
        <source>Freeze</source>
        <translation>Стоп-кадр</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="29"/>
        <source>AF</source>
        <translation>АФ</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="30"/>
        <source>Capture</source>
        <translation>Снимок</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="31"/>
        <source>Record</source>
        <translation>Запись</translation>
    </message>
</context>
<context>
    <name>CaptureController</name>
    <message>
        <source>The capture was not saved: the file name prefix holds a &quot;/&quot;.</source>
        <translation>Снимок не сохранён: в префиксе имени файла есть «/».</translation>
    </message>
    <message>
        <source>The capture was not saved: choose a save folder in the settings.</source>
        <translation>Снимок не сохранён: выберите папку сохранения в настройках.</translation>
    </message>
    <message>
        <source>The capture was not saved: the save folder&apos;s path is too long.</source>
        <translation>Снимок не сохранён: путь к папке сохранения слишком длинный.</translation>
    </message>
    <message>
        <source>No picture to capture yet: wait for the camera&apos;s picture.</source>
        <translation>Снимать пока нечего: дождитесь изображения с камеры.</translation>
    </message>
    <message>
        <source>The capture was not saved: the folder %1 cannot be written.</source>
        <translation>Снимок не сохранён: в папку %1 нельзя записывать.</translation>
    </message>
    <message>
        <source>The capture was not saved: the disk is full.</source>
        <translation>Снимок не сохранён: диск заполнен.</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera is gone.</source>
        <translation>Снимок не сохранён: камера отключена.</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera could not take the picture.</source>
        <translation>Снимок не сохранён: камера не смогла сделать снимок.</translation>
    </message>
    <message>
        <source>The picture was saved without the drawing over it.</source>
        <translation>Снимок сохранён без рисунка поверх него.</translation>
    </message>
    <message>
        <source>No page found: the whole picture was saved.</source>
        <translation>Страница не найдена: сохранён весь кадр.</translation>
    </message>
    <message>
        <source>No pictures to put in a PDF: capture some first</source>
        <translation>Нет снимков для PDF: сначала сделайте снимки</translation>
    </message>
    <message>
        <source>The PDF was not saved: the save folder cannot be used</source>
        <translation>PDF не сохранён: папку для сохранения нельзя использовать</translation>
    </message>
    <message>
        <source>The PDF could not be written to %1</source>
        <translation>Не удалось записать PDF в %1</translation>
    </message>
    <message>
        <source>No PDF: none of the pictures can be read (%1)</source>
        <translation>PDF не создан: ни один снимок не читается (%1)</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3)</source>
        <translation>PDF сохранён: %1 в %2 (страниц: %3)</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3) without pictures that cannot be read: %4</source>
        <translation>PDF сохранён: %1 в %2 (страниц: %3), без нечитаемых снимков: %4</translation>
    </message>
</context>
<context>
    <name>RecordingController</name>
    <message>
        <source>The recording stopped: the file could not be written (disk full or folder gone).</source>
        <translation>Запись остановлена: файл не удалось записать (диск заполнен или папка недоступна).</translation>
    </message>
    <message>
        <source>The recording stopped before the disk is full. What was recorded is saved.</source>
        <translation>Запись остановлена, пока диск не заполнился. Записанное сохранено.</translation>
    </message>
    <message>
        <source>A recording cut off last time was saved as %1.</source>
        <translation>Запись, прерванная в прошлый раз, сохранена как %1.</translation>
    </message>
    <message>
        <source>%1 recordings cut off last time were saved in the save folder.</source>
        <translation>Записи, прерванные в прошлый раз (%1), сохранены в папке сохранения.</translation>
    </message>
    <message>
        <source>What is recorded</source>
        <translation>Что записывается</translation>
    </message>
    <message>
        <source>Camera picture only (full resolution, no drawing)</source>
        <translation>Только изображение камеры (полное разрешение, без рисунков)</translation>
    </message>
    <message>
        <source>The view as the class sees it</source>
        <translation>Изображение, как его видит класс</translation>
    </message>
    <message>
        <source>Sound of the recording</source>
        <translation>Звук записи</translation>
    </message>
    <message>
        <source>No sound</source>
        <translation>Без звука</translation>
    </message>
    <message>
        <source>Default sound input</source>
        <translation>Источник звука по умолчанию</translation>
    </message>
    <message>
        <source>Nothing to record yet: there is no camera picture.</source>
        <translation>Записывать пока нечего: нет изображения с камеры.</translation>
    </message>
    <message>
        <source>The recording did not start: the file name prefix holds a &quot;/&quot;.</source>
        <translation>Запись не началась: в префиксе имени файла есть «/».</translation>
    </message>
    <message>
        <source>The recording did not start: choose a save folder in the settings.</source>
        <translation>Запись не началась: выберите папку для сохранения в настройках.</translation>
    </message>
    <message>
        <source>The recording did not start: the save folder cannot be written.</source>
        <translation>Запись не началась: в папку для сохранения нельзя записывать.</translation>
    </message>
    <message>
        <source>Recording without sound: no sound input was found.</source>
        <translation>Запись идёт без звука: источник звука не найден.</translation>
    </message>
    <message>
        <source>The recording did not start: the camera is not streaming.</source>
        <translation>Запись не началась: камера не передаёт изображение.</translation>
    </message>
    <message>
        <source>The recording could not be finished under its name; it was kept as %1.</source>
        <translation>Запись не удалось сохранить под её именем; она сохранена как %1.</translation>
    </message>
</context>
<context>
    <name>TimeLapseController</name>
    <message>
        <source>Stop the time-lapse</source>
        <translation>Остановить цейтраферную съёмку</translation>
    </message>
    <message>
        <source>Time-lapse…</source>
        <translation>Цейтраферная съёмка…</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be used.</source>
        <translation>Цейтраферная съёмка не началась: папку сохранения нельзя использовать.</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be written.</source>
        <translation>Цейтраферная съёмка не началась: в папку сохранения нельзя записывать.</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the disk is full. The %1 pictures taken are kept.</source>
        <translation>Цейтраферная съёмка остановлена: диск заполнен. Сделанные снимки (%1) сохранены.</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the save folder cannot be written. The %1 pictures taken are kept.</source>
        <translation>Цейтраферная съёмка остановлена: в папку сохранения нельзя записывать. Сделанные снимки (%1) сохранены.</translation>
    </message>
    <message>
        <source>No pictures from %1 to %2 (%3 s) between picture %4 and picture %5: the camera was gone.</source>
        <translation>Нет снимков с %1 до %2 (%3 с) между снимком %4 и снимком %5: камера была отключена.</translation>
    </message>
    <message>
        <source>No pictures from %1 to the end after picture %2: the camera was gone.</source>
        <translation>Нет снимков с %1 до конца после снимка %2: камера была отключена.</translation>
    </message>
    <message>
        <source>Time-lapse saved: %1 (%2 pictures).</source>
        <translation>Цейтраферная съёмка сохранена: %1 (снимков: %2).</translation>
    </message>
    <message>
        <source>The time-lapse took no pictures: the camera gave none.</source>
        <translation>Цейтраферная съёмка не сделала ни одного снимка: камера не дала изображения.</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures, waiting for the camera</source>
        <translation>Цейтраферная съёмка: снимков: %1, ожидание камеры</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures</source>
        <translation>Цейтраферная съёмка: снимков: %1</translation>
    </message>
</context>
<context>
    <name>TimeLapseDialog</name>
    <message>
        <source>Time-lapse</source>
        <translation>Цейтраферная съёмка</translation>
    </message>
    <message>
        <source>A picture every</source>
        <translation>Снимок каждые</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>секунд</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>минут</translation>
    </message>
    <message>
        <source>Until stopped</source>
        <translation>До остановки</translation>
    </message>
    <message>
        <source>For (hours:minutes:seconds)</source>
        <translation>В течение (часы:минуты:секунды)</translation>
    </message>
    <message>
        <source>Keep the pictures as JPEG files beside the video</source>
        <translation>Сохранить снимки как файлы JPEG рядом с видео</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>TextLanguages</name>
    <message>
        <source>English</source>
        <translation>Английский</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>Китайский</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>No text data for %1: install %2. Other languages were read.</source>
        <translation>Нет данных для распознавания: %1. Установите %2. Текст прочитан на других языках.</translation>
    </message>
</context>
<context>
    <name>TextPanel</name>
    <message>
        <source>Text of the page</source>
        <translation>Текст страницы</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Остановить чтение</translation>
    </message>
    <message>
        <source>Read aloud</source>
        <translation>Читать вслух</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
</context>
<context>
    <name>TextController</name>
    <message>
        <source>No voice for %1 on this system: install speech-dispatcher and espeak-ng.</source>
        <translation>В системе нет голоса для языка «%1»: установите speech-dispatcher и espeak-ng.</translation>
    </message>
    <message>
        <source>The system&apos;s speech does not answer: try again later.</source>
        <translation>Речь системы не отвечает: попробуйте позже.</translation>
    </message>
    <message>
        <source>The page&apos;s text is being read already.</source>
        <translation>Текст страницы уже распознаётся.</translation>
    </message>
    <message>
        <source>Choose a language for the page&apos;s text in the settings (Capture, Text).</source>
        <translation>Выберите язык текста страницы в настройках (Съёмка, Текст).</translation>
    </message>
    <message>
        <source>Reading the page&apos;s text…</source>
        <translation>Распознаётся текст страницы…</translation>
    </message>
    <message>
        <source>No text found on the page.</source>
        <translation>На странице не найден текст.</translation>
    </message>
    <message numerus="yes">
        <source>Text copied: %n words</source>
        <translation>
            <numerusform>Текст скопирован: %n слово</numerusform>
            <numerusform>Текст скопирован: %n слова</numerusform>
            <numerusform>Текст скопирован: %n слов</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsetCamera</name>
    <message>
        <source>Inset camera</source>
        <translation>Камера во врезке</translation>
    </message>
    <message>
        <source>No other camera is plugged in</source>
        <translation>Другая камера не подключена</translation>
    </message>
    <message>
        <source>A quarter of the view</source>
        <translation>Четверть экрана</translation>
    </message>
    <message>
        <source>A third of the view</source>
        <translation>Треть экрана</translation>
    </message>
    <message>
        <source>Half of the view</source>
        <translation>Половина экрана</translation>
    </message>
    <message>
        <source>Hide the inset</source>
        <translation>Скрыть врезку</translation>
    </message>
    <message>
        <source>No other camera is plugged in to show as an inset.</source>
        <translation>Нет другой подключённой камеры для показа во врезке.</translation>
    </message>
    <message>
        <source>The main camera was unplugged. Another camera is shown in its place.</source>
        <translation>Основная камера отключена. Вместо неё показана другая камера.</translation>
    </message>
    <message>
        <source>The inset camera was unplugged. The main picture goes on.</source>
        <translation>Камера врезки отключена. Основное изображение продолжается.</translation>
    </message>
    <message>
        <source>The inset camera is back.</source>
        <translation>Камера врезки снова подключена.</translation>
    </message>
    <message>
        <source>The inset camera could not be opened: another program may be using it.</source>
        <translation>Не удалось открыть камеру врезки: возможно, её использует другая программа.</translation>
    </message>
</context>
</TS>
