<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>Plug in the document camera to enable the application</translation>
    </message>
</context>
<context>
    <name>EraseWiget</name>
    <message>
        <location filename="../src/annotation/erasewiget.ui" line="14"/>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="63"/>
        <source>Eraser</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="94"/>
        <source>Point Eraser</source>
        <translation>Point Eraser</translation>
    </message>
    <message>
        <location filename="../src/annotation/erasewiget.cpp" line="97"/>
        <source>Clear All</source>
        <translation>Clear All</translation>
    </message>
</context>
<context>
    <name>PenWidget</name>
    <message>
        <location filename="../src/annotation/penwidget.ui" line="14"/>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="113"/>
        <source>Smooth Pen</source>
        <translation>Smooth Pen</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="156"/>
        <source>thickness</source>
        <translation>thickness</translation>
    </message>
</context>
<context>
    <name>ToolsWidget</name>
    <message>
        <location filename="../src/toolbars/toolswidget.ui" line="14"/>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="19"/>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="20"/>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="21"/>
        <source>Annotation</source>
        <translation>Annotation</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="22"/>
        <source>Eraser</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="23"/>
        <source>Text Tool</source>
        <translation>Text Tool</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="24"/>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="25"/>
        <source>Video Fliters</source>
        <translation>Video Fliters</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="26"/>
        <source>Masking</source>
        <translation>Masking</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="27"/>
        <source>Adjustment</source>
        <translation>Adjustment</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="28"/>
        <source>Freeze</source>
        <translation>Freeze</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="29"/>
        <source>AF</source>
        <translation>AF</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="30"/>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message>
        <location filename="../src/toolbars/toolswidget.cpp" line="31"/>
        <source>Record</source>
        <translation>Record</translation>
    </message>
</context>
</TS>
