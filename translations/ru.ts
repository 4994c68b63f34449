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
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="91"/>
        <source>No load image</source>
        <translation>Не удалось загрузить изображение</translation>
    </message>
</context>
</TS>
