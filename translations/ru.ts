<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>Подключите документ-камеру, чтобы начать работу с приложением</translation>
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
</context>
<context>
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="91"/>
        <source>No load image</source>
        <translation>Не удалось загрузить изображение</translation>
    </message>
</context>
</TS>
