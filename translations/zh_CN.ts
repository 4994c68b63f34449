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
    <name>EraseWiget</name>
    <message>
        <location filename="../src/annotation/erasewiget.ui" line="14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="63"/>
        <source>Eraser</source>
        <translation>橡皮擦</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="94"/>
        <source>Point Eraser</source>
        <translation>点擦除</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="97"/>
        <source>Clear All</source>
        <translation>全部清除</translation>
    </message>
</context>
<context>
    <name>PenWidget</name>
    <message>
        <location filename="../src/annotation/penwidget.ui" line="14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="113"/>
        <source>Smooth Pen</source>
        <translation>平滑笔</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="156"/>
        <source>thickness</source>
        <translation>粗细</translation>
    </message>
</context>
<context>
    <name>ToolsWidget</name>
    <message>
        <location filename="../src/toolbars/toolswidget.ui" line="14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="19"/>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="20"/>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="21"/>
        <source>Annotation</source>
        <translation>批注</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="22"/>
        <source>Eraser</source>
        <translation>橡皮擦</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="23"/>
        <source>Text Tool</source>
        <translation>文本工具</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="24"/>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="25"/>
        <source>Video Fliters</source>
        <translation>视频滤镜</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="26"/>
        <source>Masking</source>
        <translation>遮罩</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="27"/>
        <source>Adjustment</source>
        <translation>调整</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="28"/>
        <source>Freeze</source>
        <translation>冻结</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="29"/>
        <source>AF</source>
        <translation>自动对焦</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="30"/>
        <source>Capture</source>
        <translation>拍照</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="31"/>
        <source>Record</source>
        <translation>录像</translation>
    </message>
</context>
</TS>
