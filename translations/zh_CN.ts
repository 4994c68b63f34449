<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DiskSpaceWatch</name>
    <message>
        <source>Camera picture only writes about %1 a minute: the disk has room for %2 more.</source>
        <translation>“仅摄像头画面”每分钟约写入 %1：磁盘空间还够录制 %2。</translation>
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
        <translation>不到一分钟</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分钟</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 小时 %2 分钟</translation>
    </message>
</context>
<context>
    <name>VideoFilterWidget</name>
    <message>
        <source>Colour</source>
        <translation>彩色</translation>
    </message>
    <message>
        <source>Grey</source>
        <translation>灰度</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>文档</translation>
    </message>
    <message>
        <source>Black and White</source>
        <translation>黑白</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <location filename="../src/liveview/videowidget.cpp" line="60"/>
        <source>Plug in the document camera to enable the application</source>
        <translation>请插入文档摄像头以启用本应用程序</translation>
    </message>
    <message>
        <source>No program on this desktop opens %1.</source>
        <translation>此桌面上没有可以打开 %1 的程序。</translation>
    </message>
    <message>
        <source>The recording stopped: the camera was unplugged. What was recorded is saved.</source>
        <translation>录制已停止：摄像头已断开。已录制的内容已保存。</translation>
    </message>
    <message>
        <source>This file cannot be shown beside the live picture.</source>
        <translation>此文件无法在实时画面旁显示。</translation>
    </message>
</context>
<context>
    <name>PictureToolsController</name>
    <message>
        <source>Focus</source>
        <translation>对焦</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>镜像</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>旋转</translation>
    </message>
    <message>
        <source>Video Filters</source>
        <translation>视频滤镜</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>翻转</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>%1 cannot be changed while the camera sets it automatically</source>
        <translation>%1 由摄像头自动设置，无法更改</translation>
    </message>
    <message>
        <source>The camera did not take the change of %1</source>
        <translation>摄像头未能应用对%1的更改</translation>
    </message>
    <message>
        <source>Focusing the camera</source>
        <translation>正在对焦</translation>
    </message>
    <message>
        <source>Focused</source>
        <translation>对焦完成</translation>
    </message>
    <message>
        <source>This camera cannot focus by itself</source>
        <translation>此摄像头不能自动对焦</translation>
    </message>
</context>
<context>
    <name>AboutWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Pagelux</source>
        <translation>Pagelux</translation>
    </message>
    <message>
        <source>Current Version: V1.0.0</source>
        <translation>当前版本：V1.0.0</translation>
    </message>
    <message>
        <source>Copyright © 2026 the Pagelux developers. All rights reserved.</source>
        <translation>版权所有 © 2026 Pagelux 开发者。保留所有权利。</translation>
    </message>
</context>
<context>
    <name>AdjustWidget</name>
    <message>
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>饱和度</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>色调</translation>
    </message>
    <message>
        <source>White Balance, Automatic</source>
        <translation>自动白平衡</translation>
    </message>
    <message>
        <source>White Balance Temperature</source>
        <translation>白平衡色温</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>伽马</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>增益</translation>
    </message>
    <message>
        <source>Power Line Frequency</source>
        <translation>电源频率（防闪烁）</translation>
    </message>
    <message>
        <source>Sharpness</source>
        <translation>锐度</translation>
    </message>
    <message>
        <source>Backlight Compensation</source>
        <translation>背光补偿</translation>
    </message>
    <message>
        <source>Auto Exposure</source>
        <translation>自动曝光</translation>
    </message>
    <message>
        <source>Exposure Time, Absolute</source>
        <translation>曝光时间</translation>
    </message>
    <message>
        <source>Exposure, Dynamic Framerate</source>
        <translation>曝光（动态帧率）</translation>
    </message>
    <message>
        <source>Focus, Absolute</source>
        <translation>对焦位置</translation>
    </message>
    <message>
        <source>Focus, Automatic Continuous</source>
        <translation>连续自动对焦</translation>
    </message>
    <message>
        <source>Zoom, Absolute</source>
        <translation>变焦</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 赫兹</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 赫兹</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Manual Mode</source>
        <translation>手动模式</translation>
    </message>
    <message>
        <source>Aperture Priority Mode</source>
        <translation>光圈优先模式</translation>
    </message>
    <message>
        <source>Shutter Priority Mode</source>
        <translation>快门优先模式</translation>
    </message>
    <message>
        <source>Auto Mode</source>
        <translation>自动模式</translation>
    </message>
    <message>
        <source>Rotate Left</source>
        <translation>向左旋转</translation>
    </message>
    <message>
        <source>Rotate Right</source>
        <translation>向右旋转</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>镜像</translation>
    </message>
    <message>
        <source>Flip</source>
        <translation>翻转</translation>
    </message>
    <message>
        <source>This camera offers no picture controls.</source>
        <translation>此摄像头没有可调的图像参数。</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>The camera's own settings, upright and not mirrored</source>
        <translation>恢复摄像头的默认设置，不旋转、不镜像</translation>
    </message>
</context>
<context>
    <name>CSelectMenu</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
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
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>CaptureSettingsPage</name>
    <message>
        <source>Pages</source>
        <translation>页面</translation>
    </message>
    <message>
        <source>Crop and straighten pages</source>
        <translation>裁剪并拉直页面</translation>
    </message>
    <message>
        <source>Capture each new page by itself</source>
        <translation>自动拍摄每一新页</translation>
    </message>
    <message>
        <source>after it lies still for</source>
        <translation>页面静止后等待</translation>
    </message>
    <message>
        <source>Split two-page spreads into two files</source>
        <translation>将双页展开拆分为两个文件</translation>
    </message>
    <message>
        <source>Captured Files</source>
        <translation>拍摄的文件</translation>
    </message>
    <message>
        <source>Resolution written in files (DPI)</source>
        <translation>文件中写入的分辨率 (DPI)</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>JPEG quality</source>
        <translation>JPEG 质量</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Read the page&apos;s text in</source>
        <translation>识别页面文字的语言</translation>
    </message>
    <message>
        <source>%1 (not installed)</source>
        <translation>%1（未安装）</translation>
    </message>
</context>
<context>
    <name>LanguageWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
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
        <translation>幕布</translation>
    </message>
    <message>
        <source>Spotlight</source>
        <translation>聚光灯</translation>
    </message>
    <message>
        <source>Round spotlight</source>
        <translation>圆形聚光灯</translation>
    </message>
    <message>
        <source>Rectangular spotlight</source>
        <translation>矩形聚光灯</translation>
    </message>
</context>
<context>
    <name>PageScan</name>
    <message>
        <source>Crop and straighten pages: on</source>
        <translation>裁剪并校正页面：开</translation>
    </message>
    <message>
        <source>Crop and straighten pages: off</source>
        <translation>裁剪并校正页面：关</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: on</source>
        <translation>自动拍摄每张新页面：开</translation>
    </message>
    <message>
        <source>Automatic capture of each new page: off</source>
        <translation>自动拍摄每张新页面：关</translation>
    </message>
    <message>
        <source>Waiting for a new page</source>
        <translation>等待新页面</translation>
    </message>
    <message>
        <source>Page moving</source>
        <translation>页面移动中</translation>
    </message>
    <message>
        <source>Hold still</source>
        <translation>请保持不动</translation>
    </message>
    <message>
        <source>Captured</source>
        <translation>已拍摄</translation>
    </message>
    <message>
        <source>Automatic capture paused</source>
        <translation>自动拍摄已暂停</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Left</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>ToolWidget_Right</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Split Screen</source>
        <translation>分屏</translation>
    </message>
    <message>
        <source>Show Folder</source>
        <translation>显示文件夹</translation>
    </message>
    <message>
        <source>Hide Folder</source>
        <translation>隐藏文件夹</translation>
    </message>
</context>
<context>
    <name>settingDevWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Video Format</source>
        <translation>视频格式</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>File Saving Location</source>
        <translation>文件保存位置</translation>
    </message>
    <message>
        <source>Browser</source>
        <translation>浏览</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>Show all tools</source>
        <translation>显示全部工具</translation>
    </message>
    <message>
        <source>File Name Prefix</source>
        <translation>文件名前缀</translation>
    </message>
    <message>
        <source>YYYY-MM-DD_5 digit</source>
        <translation>YYYY-MM-DD_5位数字</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>前缀</translation>
    </message>
    <message>
        <source>_5 digit</source>
        <translation>_5位数字</translation>
    </message>
    <message>
        <source>Select File Saving Location</source>
        <translation>选择文件保存位置</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>拍摄</translation>
    </message>
</context>
<context>
    <name>FileItemWidget</name>
    <message>
        <location filename="../src/filebrowser/fileitemwidget.cpp" line="94"/>
        <source>No load image</source>
        <translation>无法加载图像</translation>
    </message>
</context>
<context>
    <name>FileListWidget</name>
    <message>
        <source>Save as PDF</source>
        <translation>保存为 PDF</translation>
    </message>
    <message>
        <source>with searchable text</source>
        <translation>含可搜索文字</translation>
    </message>
    <message>
        <source>Copy text</source>
        <translation>复制文字</translation>
    </message>
</context>
<context>
    <name>ComparePane</name>
    <message>
        <source>No captured picture yet: capture one, or click a file in the folder panel.</source>
        <translation>还没有拍摄的图片：请先拍照，或在文件夹面板中点击一个文件。</translation>
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
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Pen</source>
        <translation>笔</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Highlighter</source>
        <translation>荧光笔</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Arrow</source>
        <translation>箭头</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Rectangle</source>
        <translation>矩形</translation>
    </message>
    <message>
        <location filename="../src/annotation/penwidget.cpp" line="200"/>
        <source>Ellipse</source>
        <translation>椭圆</translation>
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
<context>
    <name>CaptureController</name>
    <message>
        <source>The capture was not saved: the file name prefix holds a &quot;/&quot;.</source>
        <translation>拍摄未保存：文件名前缀中含有“/”。</translation>
    </message>
    <message>
        <source>The capture was not saved: choose a save folder in the settings.</source>
        <translation>拍摄未保存：请在设置中选择保存文件夹。</translation>
    </message>
    <message>
        <source>The capture was not saved: the save folder&apos;s path is too long.</source>
        <translation>拍摄未保存：保存文件夹的路径过长。</translation>
    </message>
    <message>
        <source>No picture to capture yet: wait for the camera&apos;s picture.</source>
        <translation>还没有可拍摄的画面：请等待摄像头的画面。</translation>
    </message>
    <message>
        <source>The capture was not saved: the folder %1 cannot be written.</source>
        <translation>拍摄未保存：无法写入文件夹 %1。</translation>
    </message>
    <message>
        <source>The capture was not saved: the disk is full.</source>
        <translation>拍摄未保存：磁盘已满。</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera is gone.</source>
        <translation>拍摄未保存：摄像头已断开。</translation>
    </message>
    <message>
        <source>The capture was not saved: the camera could not take the picture.</source>
        <translation>拍摄未保存：摄像头无法拍下画面。</translation>
    </message>
    <message>
        <source>The picture was saved without the drawing over it.</source>
        <translation>图片已保存，但不含其上的绘图。</translation>
    </message>
    <message>
        <source>No page found: the whole picture was saved.</source>
        <translation>未找到页面：已保存整个画面。</translation>
    </message>
    <message>
        <source>No pictures to put in a PDF: capture some first</source>
        <translation>没有可放入 PDF 的图片：请先拍摄</translation>
    </message>
    <message>
        <source>The PDF was not saved: the save folder cannot be used</source>
        <translation>PDF 未保存：无法使用保存文件夹</translation>
    </message>
    <message>
        <source>The PDF could not be written to %1</source>
        <translation>无法将 PDF 写入 %1</translation>
    </message>
    <message>
        <source>No PDF: none of the pictures can be read (%1)</source>
        <translation>未生成 PDF：所有图片都无法读取（%1）</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3)</source>
        <translation>已保存 PDF：%1（共 %3 页），位于 %2</translation>
    </message>
    <message>
        <source>PDF saved: %1 in %2 (pages: %3) without pictures that cannot be read: %4</source>
        <translation>已保存 PDF：%1（共 %3 页），位于 %2，其中不含无法读取的图片：%4</translation>
    </message>
</context>
<context>
    <name>RecordingController</name>
    <message>
        <source>The recording stopped: the file could not be written (disk full or folder gone).</source>
        <translation>录制已停止：无法写入文件（磁盘已满或文件夹不可用）。</translation>
    </message>
    <message>
        <source>The recording stopped before the disk is full. What was recorded is saved.</source>
        <translation>磁盘将满，录制已停止。已录制的内容已保存。</translation>
    </message>
    <message>
        <source>A recording cut off last time was saved as %1.</source>
        <translation>上次中断的录制已保存为 %1。</translation>
    </message>
    <message>
        <source>%1 recordings cut off last time were saved in the save folder.</source>
        <translation>上次中断的 %1 个录制已保存到保存文件夹。</translation>
    </message>
    <message>
        <source>What is recorded</source>
        <translation>录制内容</translation>
    </message>
    <message>
        <source>Camera picture only (full resolution, no drawing)</source>
        <translation>仅摄像头画面（全分辨率，不含绘图）</translation>
    </message>
    <message>
        <source>The view as the class sees it</source>
        <translation>课堂所见画面</translation>
    </message>
    <message>
        <source>Sound of the recording</source>
        <translation>录制的声音</translation>
    </message>
    <message>
        <source>No sound</source>
        <translation>无声音</translation>
    </message>
    <message>
        <source>Default sound input</source>
        <translation>默认声音输入</translation>
    </message>
    <message>
        <source>Nothing to record yet: there is no camera picture.</source>
        <translation>暂无可录制内容：还没有摄像头画面。</translation>
    </message>
    <message>
        <source>The recording did not start: the file name prefix holds a &quot;/&quot;.</source>
        <translation>录制未开始：文件名前缀中含有“/”。</translation>
    </message>
    <message>
        <source>The recording did not start: choose a save folder in the settings.</source>
        <translation>录制未开始：请在设置中选择保存文件夹。</translation>
    </message>
    <message>
        <source>The recording did not start: the save folder cannot be written.</source>
        <translation>录制未开始：无法写入保存文件夹。</translation>
    </message>
    <message>
        <source>Recording without sound: no sound input was found.</source>
        <translation>正在录制，但没有声音：未找到声音输入。</translation>
    </message>
    <message>
        <source>The recording did not start: the camera is not streaming.</source>
        <translation>录制未开始：摄像头没有传输画面。</translation>
    </message>
    <message>
        <source>The recording could not be finished under its name; it was kept as %1.</source>
        <translation>录制无法以其名称完成；已保存为 %1。</translation>
    </message>
</context>
<context>
    <name>TimeLapseController</name>
    <message>
        <source>Stop the time-lapse</source>
        <translation>停止延时摄影</translation>
    </message>
    <message>
        <source>Time-lapse…</source>
        <translation>延时摄影…</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be used.</source>
        <translation>延时摄影未开始：无法使用保存文件夹。</translation>
    </message>
    <message>
        <source>The time-lapse did not start: the save folder cannot be written.</source>
        <translation>延时摄影未开始：无法写入保存文件夹。</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the disk is full. The %1 pictures taken are kept.</source>
        <translation>延时摄影已停止：磁盘已满。已拍摄的 %1 张图片已保留。</translation>
    </message>
    <message>
        <source>The time-lapse stopped: the save folder cannot be written. The %1 pictures taken are kept.</source>
        <translation>延时摄影已停止：无法写入保存文件夹。已拍摄的 %1 张图片已保留。</translation>
    </message>
    <message>
        <source>No pictures from %1 to %2 (%3 s) between picture %4 and picture %5: the camera was gone.</source>
        <translation>从 %1 到 %2（%3 秒）在第 %4 张和第 %5 张图片之间没有图片：摄像头已断开。</translation>
    </message>
    <message>
        <source>No pictures from %1 to the end after picture %2: the camera was gone.</source>
        <translation>从 %1 到结束（第 %2 张图片之后）没有图片：摄像头已断开。</translation>
    </message>
    <message>
        <source>Time-lapse saved: %1 (%2 pictures).</source>
        <translation>延时摄影已保存：%1（%2 张图片）。</translation>
    </message>
    <message>
        <source>The time-lapse took no pictures: the camera gave none.</source>
        <translation>延时摄影没有拍到图片：摄像头没有提供图片。</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures, waiting for the camera</source>
        <translation>延时摄影：%1 张图片，正在等待摄像头</translation>
    </message>
    <message>
        <source>Time-lapse: %1 pictures</source>
        <translation>延时摄影：%1 张图片</translation>
    </message>
</context>
<context>
    <name>TimeLapseDialog</name>
    <message>
        <source>Time-lapse</source>
        <translation>延时摄影</translation>
    </message>
    <message>
        <source>A picture every</source>
        <translation>拍摄间隔</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>分钟</translation>
    </message>
    <message>
        <source>Until stopped</source>
        <translation>直到手动停止</translation>
    </message>
    <message>
        <source>For (hours:minutes:seconds)</source>
        <translation>持续时间（时:分:秒）</translation>
    </message>
    <message>
        <source>Keep the pictures as JPEG files beside the video</source>
        <translation>将图片作为 JPEG 文件保存在视频旁边</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>TextLanguages</name>
    <message>
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>俄语</translation>
    </message>
    <message>
        <source>No text data for %1: install %2. Other languages were read.</source>
        <translation>缺少%1的文字数据：请安装 %2。已按其他语言识别。</translation>
    </message>
</context>
<context>
    <name>TextPanel</name>
    <message>
        <source>Text of the page</source>
        <translation>页面文字</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>停止朗读</translation>
    </message>
    <message>
        <source>Read aloud</source>
        <translation>朗读</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>TextController</name>
    <message>
        <source>No voice for %1 on this system: install speech-dispatcher and espeak-ng.</source>
        <translation>本系统没有%1语音：请安装 speech-dispatcher 和 espeak-ng。</translation>
    </message>
    <message>
        <source>The system&apos;s speech does not answer: try again later.</source>
        <translation>系统语音没有响应：请稍后再试。</translation>
    </message>
    <message>
        <source>The page&apos;s text is being read already.</source>
        <translation>正在识别页面文字，请稍候。</translation>
    </message>
    <message>
        <source>Choose a language for the page&apos;s text in the settings (Capture, Text).</source>
        <translation>请在设置中（拍照 › 文字）选择页面文字的语言。</translation>
    </message>
    <message>
        <source>Reading the page&apos;s text…</source>
        <translation>正在识别页面文字…</translation>
    </message>
    <message>
        <source>No text found on the page.</source>
        <translation>页面上没有找到文字。</translation>
    </message>
    <message numerus="yes">
        <source>Text copied: %n words</source>
        <translation>
            <numerusform>已复制文字：%n 个词</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsetCamera</name>
    <message>
        <source>Inset camera</source>
        <translation>画中画摄像头</translation>
    </message>
    <message>
        <source>No other camera is plugged in</source>
        <translation>未连接其他摄像头</translation>
    </message>
    <message>
        <source>A quarter of the view</source>
        <translation>画面的四分之一</translation>
    </message>
    <message>
        <source>A third of the view</source>
        <translation>画面的三分之一</translation>
    </message>
    <message>
        <source>Half of the view</source>
        <translation>画面的一半</translation>
    </message>
    <message>
        <source>Hide the inset</source>
        <translation>隐藏画中画</translation>
    </message>
    <message>
        <source>No other camera is plugged in to show as an inset.</source>
        <translation>未连接可作为画中画显示的其他摄像头。</translation>
    </message>
    <message>
        <source>The main camera was unplugged. Another camera is shown in its place.</source>
        <translation>主摄像头已拔出，改为显示另一台摄像头。</translation>
    </message>
    <message>
        <source>The inset camera was unplugged. The main picture goes on.</source>
        <translation>画中画摄像头已拔出，主画面继续显示。</translation>
    </message>
    <message>
        <source>The inset camera is back.</source>
        <translation>画中画摄像头已恢复。</translation>
    </message>
    <message>
        <source>The inset camera could not be opened: another program may be using it.</source>
        <translation>无法打开画中画摄像头：可能有其他程序正在使用它。</translation>
    </message>
</context>
</TS>
