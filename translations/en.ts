<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>DiskSpaceWatch</name>
    <message>
        <source>Camera picture only writes about %1 a minute: the disk has room for %2 more.</source>
        <translation>Camera picture only writes about %1 a minute: the disk has room for %2 more.</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>less than a minute</source>
        <translation>less than a minute</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>VideoFilterWidget</name>
    <message>
        <source>Colour</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Grey</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Document</translation>
    </message>
    <message>
        <source>Black and White</source>
        <translation>Black and White</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>Plug in the document camera to enable the application</translation>
    </message>
    <message>
        <source>No program on this desktop opens %1.</source>
        <translation>No program on this desktop opens %1.</translation>
    </message>
    <message>
        <source>The recording stopped: the camera was unplugged. What was recorded is saved.</source>
        <translation>The recording stopped: the camera was unplugged. What was recorded is saved.</translation>
    </message>
    <message>
        <source>This file cannot be shown beside the live picture.</source>
        <translation>This file cannot be shown beside the live picture.</translation>
    </message>
</context>
<context>
    <name>PictureToolsController</name>
    <message>
        <source>Focus</source>
        <translation>Focus</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Video Filters</source>
        <translation>Video Filters</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>%1 cannot be changed while the camera sets it automatically</source>
        <translation>%1 cannot be changed while the camera sets it automatically</translation>
    </message>
    <message>
        <source>The camera did not take the change of %1</source>
        <translation>The camera did not take the change of %1</translation>
    </message>
    <message>
        <source>Focusing the camera</source>
        <translation>Focusing the camera</translation>
    </message>
    <message>
        <source>Focused</source>
        <translation>Focused</translation>
    </message>
    <message>
        <source>This camera cannot focus by itself</source>
        <translation>This camera cannot focus by itself</translation>
    </message>
</context>
<context>
    <name>AboutWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Pagelux</source>
        <translation>Pagelux</translation>
    </message>
    <message>
        <source>Current Version: V1.0.0</source>
        <translation>Current Version: V1.0.0</translation>
    </message>
    <message>
        <source>Copyright © 2026 the Pagelux developers. All rights reserved.</source>
        <translation>Copyright © 2026 the Pagelux developers. All rights reserved.</translation>
    </message>
</context>
<context>
    <name>AdjustWidget</name>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Hue</translation>
    </message>
    <message>
        <source>White Balance, Automatic</source>
        <translation>White Balance, Automatic</translation>
    </message>
    <message>
        <source>White Balance Temperature</source>
        <translation>White Balance Temperature</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Power Line Frequency</source>
        <translation>Power Line Frequency</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>Sharpness</translation>
    </message>
    <message>
        <source>Backlight Compensation</source>
        <translation>Backlight Compensation</translation>
    </message>
    <message>
        <source>Auto Exposure</source>
        <translation>Auto Exposure</translation>
    </message>
    <message>
        <source>Exposure Time, Absolute</source>
        <translation>Exposure Time, Absolute</translation>
    </message>
    <message>
        <source>Exposure, Dynamic Framerate</source>
        <translation>Exposure, Dynamic Framerate</translation>
    </message>
    <message>
        <source>Focus, Absolute</source>
        <translation>Focus, Absolute</translation>
    </message>
    <message>
        <source>Focus, Automatic Continuous</source>
        <translation>Focus, Automatic Continuous</translation>
    </message>
    <message>
        <source>Zoom, Absolute</source>
        <translation>Zoom, Absolute</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Hz</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Manual Mode</source>
        <translation>Manual Mode</translation>
    </message>
    <message>
        <source>Aperture Priority Mode</source>
        <translation>Aperture Priority Mode</translation>
    </message>
    <message>
        <source>Shutter Priority Mode</source>
        <translation>Shutter Priority Mode</translation>
    </message>
    <message>
        <source>Auto Mode</source>
        <translation>Auto Mode</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>Rotate Left</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>Rotate Right</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>This camera offers no picture controls.</source>
        <translation>This camera offers no picture controls.</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>The camera's own settings, upright and not mirrored</source>
        <translation>The camera's own settings, upright and not mirrored</translation>
    </message>
</context>
<context>
    <name>CSelectMenu</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
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
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>CaptureSettingsPage</name>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Crop and straighten pages</source>
        <translation>Crop and straighten pages</translation>
    </message>
    <message>
        <source>Capture each new page by itself</source>
        <translation>Capture each new page by itself</translation>
    </message>
    <message>
        <source>after it lies still for</source>
        <translation>after it lies still for</translation>
    </message>
    <message>
        <source>Split two-page spreads into two files</source>
        <translation>Split two-page spreads into two files</translation>
    </message>
    <message>
        <source>Captured Files</source>
        <translation>Captured Files</translation>
    </message>
    <message>
        <source>Resolution written in files (DPI)</source>
        <translation>Resolution written in files (DPI)</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>JPEG quality</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Read the page&apos;s text in</source>
        <translation>Read the page&apos;s text in</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1 (not installed)</translation>
    </message>
</context>
<context>
    <name>LanguageWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
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
        <translation>Curtain</translation>
    </message>
    <message>
        <source>Spotlight</source>
        <translation>Spotlight</translation>
    </message>
    <message>
        <source>Round spotlight</source>
        <translation>Round spotlight</translation>
    </message>
    <message>
        <source>Rectangular spotlight</source>
        <translation>Rectangular spotlight</translation>
    </message>
</context>
<context>
    <name>PageScan</name>
    <message>
        <source>Crop and straighten pages: on</source>
        <translation>Crop and straighten pages: on</translation>
    </message>
    <message>
        <source>Crop and straighten pages: off</source>
        <translation>Crop and straighten pages: off</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: on</source>
        <translation>Automatic capture of each new page: on</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: off</source>
        <translation>Automatic capture of each new page: off</translation>
    </message>
    <message>
        <source>Waiting for a new page</source>
        <translation>Waiting for a new page</translation>
    </message>
    <message>
        <source>Page moving</source>
        <translation>Page moving</translation>
    </message>
    <message>
        <source>Hold still</source>
        <translation>Hold still</translation>
    </message>
    <message>
        <source>Captured</source>
        <translation>Captured</translation>
    </message>
    <message>
        <source>Automatic capture paused</source>
        <translation>Automatic capture paused</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Left</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Right</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Split Screen</source>
        <translation>Split Screen</translation>
    </message>
    <message>
        <source>Show Folder</source>
        <translation>Show Folder</translation>
    </message>
    <message>
        <source>Hide Folder</source>
        <translation>Hide Folder</translation>
    </message>
</context>
<context>
    <name>settingDevWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Video Format</source>
        <translation>Video Format</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>File Saving Location</source>
        <translation>File Saving Location</translation>
    </message>
    <message>
        <source>Browser</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Show all tools</source>
        <translation>Show all tools</translation>
    </message>
    <message>
        <source>File Name Prefix</source>
        <translation>File Name Prefix</translation>
    </message>
    <message>
        <source>YYYY-MM-DD_5 digit</source>
        <translation>YYYY-MM-DD_5 digit</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>_5 digit</source>
        <translation>_5 digit</translation>
    </message>
    <message>
        <source>Select File Saving Location</source>
        <translation>Select File Saving Location</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
</context>
<context>
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="94"/>
        <source>No load image</source>
        <translation>No load image</translation>
    </message>
</context>
<context>
    <name>FileListWidget</name>
    <message>
        <source>Save as PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>with searchable text</source>
        <translation>with searchable text</translation>
    </message>
    <message>
        <source>Copy text</source>
        <translation>Copy text</translation>
    </message>
</context>
<context>
    <name>ComparePane</name>
    <message>
        <source>No captured picture yet: capture one, or click a file in the folder panel.</source>
        <translation>No captured picture yet: capture one, or click a file in the folder panel.</translation>
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
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Pen</source>
        <translation>Pen</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Highlighter</source>
        <translation>Highlighter</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Arrow</source>
        <translation>Arrow</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Ellipse</source>
        <translation>Ellipse</translation>
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
        <translation>Video Filters</translation>
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
<context>
    <name>CaptureController</name>
    <message>
        <source>The capture was not saved: the file name prefix holds a &quot;/&quot;.</source>
        <translation>The capture was not saved: the file name prefix holds a &quot;/&quot;.</translation>
    </message>
    <message>
        <source>The capture was not saved: choose a save folder in the settings.</source>
        <translation>The capture was not saved: choose a save folder in the settings.</translation>
    </message>
    <message>
        <source>The capture was not saved: the save folder&apos;s path is too long.</source>
        <translation>The capture was not saved: the save folder&apos;s path is too long.</translation>
    </message>
    <message>
        <source>No picture to capture yet: wait for the camera&apos;s picture.</source>
        <translation>No picture to capture yet: wait for the camera&apos;s picture.</translation>
    </message>
    <message>
        <source>The capture was not saved: the folder %1 cannot be written.</source>
        <translation>The capture was not saved: the folder %1 cannot be written.</translation>
    </message>
    <message>
        <source>The capture was not saved: the disk is full.</source>
        <translation>The capture was not saved: the disk is full.</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera is gone.</source>
        <translation>The capture was not saved: the camera is gone.</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera could not take the picture.</source>
        <translation>The capture was not saved: the camera could not take the picture.</translation>
    </message>
    <message>
        <source>The picture was saved without the drawing over it.</source>
        <translation>The picture was saved without the drawing over it.</translation>
    </message>
    <message>
        <source>No page found: the whole picture was saved.</source>
        <translation>No page found: the whole picture was saved.</translation>
    </message>
    <message>
        <source>No pictures to put in a PDF: capture some first</source>
        <translation>No pictures to put in a PDF: capture some first</translation>
    </message>
    <message>
        <source>The PDF was not saved: the save folder cannot be used</source>
        <translation>The PDF was not saved: the save folder cannot be used</translation>
    </message>
    <message>
        <source>The PDF could not be written to %1</source>
        <translation>The PDF could not be written to %1</translation>
    </message>
    <message>
        <source>No PDF: none of the pictures can be read (%1)</source>
        <translation>No PDF: none of the pictures can be read (%1)</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3)</source>
        <translation>PDF saved: %1 in %2 (pages: %3)</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3) without pictures that cannot be read: %4</source>
        <translation>PDF saved: %1 in %2 (pages: %3) without pictures that cannot be read: %4</translation>
    </message>
</context>
<context>
    <name>RecordingController</name>
    <message>
        <source>The recording stopped: the file could not be written (disk full or folder gone).</source>
        <translation>The recording stopped: the file could not be written (disk full or folder gone).</translation>
    </message>
    <message>
        <source>The recording stopped before the disk is full. What was recorded is saved.</source>
        <translation>The recording stopped before the disk is full. What was recorded is saved.</translation>
    </message>
    <message>
        <source>A recording cut off last time was saved as %1.</source>
        <translation>A recording cut off last time was saved as %1.</translation>
    </message>
    <message>
        <source>%1 recordings cut off last time were saved in the save folder.</source>
        <translation>%1 recordings cut off last time were saved in the save folder.</translation>
    </message>
    <message>
        <source>What is recorded</source>
        <translation>What is recorded</translation>
    </message>
    <message>
        <source>Camera picture only (full resolution, no drawing)</source>
        <translation>Camera picture only (full resolution, no drawing)</translation>
    </message>
    <message>
        <source>The view as the class sees it</source>
        <translation>The view as the class sees it</translation>
    </message>
    <message>
        <source>Sound of the recording</source>
        <translation>Sound of the recording</translation>
    </message>
    <message>
        <source>No sound</source>
        <translation>No sound</translation>
    </message>
    <message>
        <source>Default sound input</source>
        <translation>Default sound input</translation>
    </message>
    <message>
        <source>Nothing to record yet: there is no camera picture.</source>
        <translation>Nothing to record yet: there is no camera picture.</translation>
    </message>
    <message>
        <source>The recording did not start: the file name prefix holds a &quot;/&quot;.</source>
        <translation>The recording did not start: the file name prefix holds a &quot;/&quot;.</translation>
    </message>
    <message>
        <source>The recording did not start: choose a save folder in the settings.</source>
        <translation>The recording did not start: choose a save folder in the settings.</translation>
    </message>
    <message>
        <source>The recording did not start: the save folder cannot be written.</source>
        <translation>The recording did not start: the save folder cannot be written.</translation>
    </message>
    <message>
        <source>Recording without sound: no sound input was found.</source>
        <translation>Recording without sound: no sound input was found.</translation>
    </message>
    <message>
        <source>The recording did not start: the camera is not streaming.</source>
        <translation>The recording did not start: the camera is not streaming.</translation>
    </message>
    <message>
        <source>The recording could not be finished under its name; it was kept as %1.</source>
        <translation>The recording could not be finished under its name; it was kept as %1.</translation>
    </message>
</context>
<context>
    <name>TimeLapseController</name>
    <message>
        <source>Stop the time-lapse</source>
        <translation>Stop the time-lapse</translation>
    </message>
    <message>
        <source>Time-lapse…</source>
        <translation>Time-lapse…</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be used.</source>
        <translation>The time-lapse did not start: the save folder cannot be used.</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be written.</source>
        <translation>The time-lapse did not start: the save folder cannot be written.</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the disk is full. The %1 pictures taken are kept.</source>
        <translation>The time-lapse stopped: the disk is full. The %1 pictures taken are kept.</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the save folder cannot be written. The %1 pictures taken are kept.</source>
        <translation>The time-lapse stopped: the save folder cannot be written. The %1 pictures taken are kept.</translation>
    </message>
    <message>
        <source>No pictures from %1 to %2 (%3 s) between picture %4 and picture %5: the camera was gone.</source>
        <translation>No pictures from %1 to %2 (%3 s) between picture %4 and picture %5: the camera was gone.</translation>
    </message>
    <message>
        <source>No pictures from %1 to the end after picture %2: the camera was gone.</source>
        <translation>No pictures from %1 to the end after picture %2: the camera was gone.</translation>
    </message>
    <message>
        <source>Time-lapse saved: %1 (%2 pictures).</source>
        <translation>Time-lapse saved: %1 (%2 pictures).</translation>
    </message>
    <message>
        <source>The time-lapse took no pictures: the camera gave none.</source>
        <translation>The time-lapse took no pictures: the camera gave none.</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures, waiting for the camera</source>
        <translation>Time-lapse: %1 pictures, waiting for the camera</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures</source>
        <translation>Time-lapse: %1 pictures</translation>
    </message>
</context>
<context>
    <name>TimeLapseDialog</name>
    <message>
        <source>Time-lapse</source>
        <translation>Time-lapse</translation>
    </message>
    <message>
        <source>A picture every</source>
        <translation>A picture every</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Until stopped</source>
        <translation>Until stopped</translation>
    </message>
    <message>
        <source>For (hours:minutes:seconds)</source>
        <translation>For (hours:minutes:seconds)</translation>
    </message>
    <message>
        <source>Keep the pictures as JPEG files beside the video</source>
        <translation>Keep the pictures as JPEG files beside the video</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TextLanguages</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>No text data for %1: install %2. Other languages were read.</source>
        <translation>No text data for %1: install %2. Other languages were read.</translation>
    </message>
</context>
<context>
    <name>TextPanel</name>
    <message>
        <source>Text of the page</source>
        <translation>Text of the page</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Stop reading</translation>
    </message>
    <message>
        <source>Read aloud</source>
        <translation>Read aloud</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TextController</name>
    <message>
        <source>No voice for %1 on this system: install speech-dispatcher and espeak-ng.</source>
        <translation>No voice for %1 on this system: install speech-dispatcher and espeak-ng.</translation>
    </message>
    <message>
        <source>The system&apos;s speech does not answer: try again later.</source>
        <translation>The system&apos;s speech does not answer: try again later.</translation>
    </message>
    <message>
        <source>The page&apos;s text is being read already.</source>
        <translation>The page&apos;s text is being read already.</translation>
    </message>
    <message>
        <source>Choose a language for the page&apos;s text in the settings (Capture, Text).</source>
        <translation>Choose a language for the page&apos;s text in the settings (Capture, Text).</translation>
    </message>
    <message>
        <source>Reading the page&apos;s text…</source>
        <translation>Reading the page&apos;s text…</translation>
    </message>
    <message>
        <source>No text found on the page.</source>
        <translation>No text found on the page.</translation>
    </message>
    <message numerus="yes">
        <source>Text copied: %n words</source>
        <translation>
            <numerusform>Text copied: %n word</numerusform>
            <numerusform>Text copied: %n words</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsetCamera</name>
    <message>
        <source>Inset camera</source>
        <translation>Inset camera</translation>
    </message>
    <message>
        <source>No other camera is plugged in</source>
        <translation>No other camera is plugged in</translation>
    </message>
    <message>
        <source>A quarter of the view</source>
        <translation>A quarter of the view</translation>
    </message>
    <message>
        <source>A third of the view</source>
        <translation>A third of the view</translation>
    </message>
    <message>
        <source>Half of the view</source>
        <translation>Half of the view</translation>
    </message>
    <message>
        <source>Hide the inset</source>
        <translation>Hide the inset</translation>
    </message>
    <message>
        <source>No other camera is plugged in to show as an inset.</source>
        <translation>No other camera is plugged in to show as an inset.</translation>
    </message>
    <message>
        <source>The main camera was unplugged. Another camera is shown in its place.</source>
        <translation>The main camera was unplugged. Another camera is shown in its place.</translation>
    </message>
    <message>
        <source>The inset camera was unplugged. The main picture goes on.</source>
        <translation>The inset camera was unplugged. The main picture goes on.</translation>
    </message>
    <message>
        <source>The inset camera is back.</source>
        <translation>The inset camera is back.</translation>
    </message>
    <message>
        <source>The inset camera could not be opened: another program may be using it.</source>
        <translation>The inset camera could not be opened: another program may be using it.</translation>
    </message>
</context>
</TS>
