<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>请插入文档摄像头以启用本应用程序</translation>
    </message>
</context>
<context>
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="91"/>
        <source>No load image</source>
        <translation>无法加载图像</translation>
    </message>
</context>
</TS>
