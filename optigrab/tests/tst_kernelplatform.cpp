// SPDX-License-Identifier: GPL-3.0-or-later
// The library's real side (udev enumeration, V4L2 queries, the udev monitor) against mocked devices:
// umockdev stands in for sysfs, /dev and the udev netlink socket, and answers the V4L2 queries of
// the mocked nodes. Runs under umockdev-wrapper; streaming (mmap of driver buffers) is not mocked.
// GLib's headers use "signals" as a name, which Qt defines as a keyword: they come first.
#include <umockdev.h>

#include <QtTest>

#include <linux/videodev2.h>

#include <map>
#include <mutex>
#include <string>

#include "optigrab.h"
#include "testsupport.h"

namespace {

// What one mocked video node answers.
struct MockNode {
    std::string card;
    bool metadata = false;  // UVC metadata node: no video capture
};

// A USB camera as udev shows it: usb_device, its interface, and video4linux nodes below.
struct MockCamera {
    QString usbName;  // "1-2"
    QString vendor, product, serial;
    QString card;
    QList<int> nodes;  // video node numbers; the second of a camera is its metadata node
};

// The mocked nodes' V4L2 answers. Runs on umockdev's worker thread.
class V4l2Answers {
public:
    void set(const std::string& devnode, MockNode node) {
        std::lock_guard<std::mutex> lock(mutex_);
        nodes_[devnode] = std::move(node);
    }

    static gboolean handle(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<V4l2Answers*>(self)->answer(client);
    }

private:
    template <typename T>
    static T* argument(UMockdevIoctlClient* client, UMockdevIoctlData** resolved) {
        *resolved = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(T), nullptr);
        return *resolved ? reinterpret_cast<T*>((*resolved)->data) : nullptr;
    }

    gboolean answer(UMockdevIoctlClient* client) {
        MockNode node;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = nodes_.find(umockdev_ioctl_client_get_devnode(client));
            if (found == nodes_.end())
                return FALSE;
            node = found->second;
        }
        UMockdevIoctlData* data = nullptr;
        int error = ENOTTY;
        switch (umockdev_ioctl_client_get_request(client)) {
            case VIDIOC_QUERYCAP:
                if (auto* cap = argument<v4l2_capability>(client, &data)) {
                    *cap = {};
                    std::strncpy(reinterpret_cast<char*>(cap->driver), "uvcvideo", sizeof cap->driver - 1);
                    std::strncpy(reinterpret_cast<char*>(cap->card), node.card.c_str(), sizeof cap->card - 1);
                    cap->device_caps =
                        (node.metadata ? V4L2_CAP_META_CAPTURE : V4L2_CAP_VIDEO_CAPTURE) | V4L2_CAP_STREAMING;
                    cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING |
                                        V4L2_CAP_DEVICE_CAPS;
                    error = 0;
                }
                break;
            case VIDIOC_ENUM_FMT:
                if (auto* desc = argument<v4l2_fmtdesc>(client, &data)) {
                    const std::uint32_t formats[] = {V4L2_PIX_FMT_YUYV, V4L2_PIX_FMT_MJPEG};
                    error = EINVAL;
                    if (!node.metadata && desc->type == V4L2_BUF_TYPE_VIDEO_CAPTURE && desc->index < 2) {
                        desc->pixelformat = formats[desc->index];
                        error = 0;
                    }
                }
                break;
            case VIDIOC_ENUM_FRAMESIZES:
                if (auto* size = argument<v4l2_frmsizeenum>(client, &data)) {
                    const std::uint32_t sizes[][2] = {{640, 480}, {1280, 720}};
                    error = EINVAL;
                    if (size->index < 2) {
                        size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
                        size->discrete = {sizes[size->index][0], sizes[size->index][1]};
                        error = 0;
                    }
                }
                break;
            case VIDIOC_ENUM_FRAMEINTERVALS:
                if (auto* interval = argument<v4l2_frmivalenum>(client, &data)) {
                    error = EINVAL;
                    if (interval->index == 0) {
                        interval->type = V4L2_FRMIVAL_TYPE_DISCRETE;
                        interval->discrete = {1, 30};
                        error = 0;
                    }
                }
                break;
            default:
                break;
        }
        umockdev_ioctl_client_complete(client, error ? -1 : 0, error);
        if (data)
            g_object_unref(data);
        return TRUE;
    }

    std::mutex mutex_;  // guards nodes_
    std::map<std::string, MockNode> nodes_;
};

}  // namespace

Q_DECLARE_METATYPE(MockCamera)

class KernelPlatformTest : public QObject {
    Q_OBJECT

private:
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
    V4l2Answers answers_;
    QMap<int, QString> nodePaths_;  // node number -> sysfs path of the video4linux device

    // Adds a camera in the layout of a UVC camera's sysfs tree (usb_device, interface, video nodes).
    // umockdev sends "add" for each device as it appears, as the kernel does; each video node's
    // V4L2 answers are in place before that.
    void plug(const MockCamera& camera) {
        const QString device = "/devices/pci0000:00/0000:00:14.0/usb1/" + camera.usbName;
        const QString interface = device + "/" + camera.usbName + ":1.0";
        QString usb =
            QString("P: %1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=%2\nA: idProduct=%3\n")
                .arg(device, camera.vendor, camera.product);
        if (!camera.serial.isEmpty())
            usb += "A: serial=" + camera.serial + "\n";
        usb += QString("\nP: %1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n").arg(interface);
        addDevices(usb);
        for (int i = 0; i < camera.nodes.size(); ++i) {
            const int number = camera.nodes[i];
            const QString name = QString("video%1").arg(number);
            const QByteArray devnode = ("/dev/" + name).toUtf8();
            answers_.set(devnode.toStdString(), {camera.card.toStdString(), i > 0});
            QVERIFY(umockdev_testbed_attach_ioctl(testbed_, devnode.constData(), handler_, nullptr));
            nodePaths_[number] = "/sys" + interface + "/video4linux/" + name;
            addDevices(QString("P: %1/video4linux/%2\nN: %2\nE: SUBSYSTEM=video4linux\nE: DEVNAME=/dev/%2\n"
                               "E: MAJOR=81\nE: MINOR=%3\nA: name=%4\nA: dev=81:%3\n")
                           .arg(interface, name)
                           .arg(number)
                           .arg(camera.card));
        }
    }

    void addDevices(const QString& description) {
        GError* error = nullptr;
        QVERIFY2(umockdev_testbed_add_from_string(testbed_, description.toUtf8().constData(), &error),
                 error ? error->message : "");
    }

    // Sends the uevent, then removes the node as the kernel does on unplug.
    void unplugNode(int number) {
        const QByteArray path = nodePaths_.take(number).toUtf8();
        umockdev_testbed_uevent(testbed_, path.constData(), "remove");
        umockdev_testbed_detach_ioctl(testbed_, ("/dev/video" + QByteArray::number(number)).constData(),
                                      nullptr);
        umockdev_testbed_remove_device(testbed_, path.constData());
    }

    static QString text(long (*get)(long, char*), long index, int size) {
        QByteArray buffer(size, '\0');
        const long result = get(index, buffer.data());
        if (result == CAM_ERR_NOT_SUPPORTED && buffer.at(0) == '\0')
            return "<none>";
        if (result != CAM_OK)
            return "<error>";
        return QString::fromUtf8(buffer.constData());
    }

    // index: name, vid:pid, serial of every listed device.
    static QStringList listed() {
        long count = 0;
        if (camGetDevCount(&count) != CAM_OK)
            return {"<error>"};
        QStringList out;
        for (long i = 0; i < count; ++i)
            out << text(camGetDevName, i, 512) + " " + text(camGetDevVid, i, 10) + ":" +
                       text(camGetDevPid, i, 10) + " " + text(camGetDevSN, i, 256);
        return out;
    }

private slots:
    void initTestCase() {
        handler_ = umockdev_ioctl_base_new();
        g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&V4l2Answers::handle), &answers_);
    }
    void cleanupTestCase() { g_clear_object(&handler_); }
    // A testbed for each case: umockdev does not hand out a node name twice in one testbed.
    void init() { testbed_ = umockdev_testbed_new(); }
    void cleanup() {
        camUnInitCameraLib();
        for (int number : nodePaths_.keys())
            unplugNode(number);
        g_clear_object(&testbed_);
        ChangeRecorder::instance().take();
    }

    // Cameras plugged in any order are listed by node number; metadata nodes are left out; ids come
    // from the USB device above the node, in lower case.
    void enumeration_data() {
        QTest::addColumn<QList<MockCamera>>("cameras");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one camera with its metadata node")
            << QList<MockCamera>{{"1-1", "046d", "0825", "A1B2C3", "Desk Cam", {0, 1}}}
            << QStringList{"Desk Cam 046d:0825 A1B2C3"};
        QTest::newRow("two cameras, plugged in reverse order")
            << QList<MockCamera>{{"1-2", "1bcf", "2c99", "S2", "Second", {2, 3}},
                                 {"1-1", "046d", "0825", "S1", "First", {0, 1}}}
            << QStringList{"First 046d:0825 S1", "Second 1bcf:2c99 S2"};
        QTest::newRow("node 10 comes after node 2")
            << QList<MockCamera>{{"1-3", "aaaa", "0001", "X", "Ten", {10, 11}},
                                 {"1-4", "bbbb", "0002", "Y", "Two", {2, 3}}}
            << QStringList{"Two bbbb:0002 Y", "Ten aaaa:0001 X"};
        QTest::newRow("upper-case ids, no serial")
            << QList<MockCamera>{{"2-1", "04F2", "B5A7", "", "Visualizer", {4, 5}}}
            << QStringList{"Visualizer 04f2:b5a7 <none>"};
        QTest::newRow("a camera without metadata node")
            << QList<MockCamera>{{"1-5", "1234", "abcd", "Z9", "Plain", {6}},
                                 {"1-6", "1234", "abce", "Z8", "Meta", {7, 8}}}
            << QStringList{"Plain 1234:abcd Z9", "Meta 1234:abce Z8"};
    }
    void enumeration() {
        QFETCH(QList<MockCamera>, cameras);
        QFETCH(QStringList, expected);
        for (const MockCamera& camera : cameras)
            plug(camera);
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(listed(), expected);
        // The listed camera offers what its node answered: MJPG first, sizes largest first.
        long type = 0, width = 0, height = 0, fps = 0;
        QCOMPARE(camGetMediaType(0, 0, &type), long(CAM_OK));
        QCOMPARE(type, 2L);
        QCOMPARE(camGetResolution(0, type, 0, &width, &height), long(CAM_OK));
        QCOMPARE(QSize(int(width), int(height)), QSize(1280, 720));
        QCOMPARE(camGetFPS(0, type, width, height, 0, &fps), long(CAM_OK));
        QCOMPARE(fps, 30L);
    }

    // add, change and remove uevents of udev's monitor reach the program as plug and unplug reports
    // with the indices of a fresh scan; the metadata node's events add nothing.
    void hotplugEvents() {
        plug({"1-1", "046d", "0825", "S1", "First", {2, 3}});
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(camRegCallBackDeviceChange(0, ChangeRecorder::callback), long(CAM_OK));
        auto& changes = ChangeRecorder::instance();

        // A camera with a lower node number is plugged: it takes index 0 in a fresh scan.
        QElapsedTimer timer;
        timer.start();
        plug({"1-2", "1bcf", "2c99", "S0", "Zero", {0, 1}});
        QVERIFY(waitFor([&] { return changes.size() >= 1; }));
        const qint64 addMs = timer.elapsed();
        QThread::msleep(300);  // the metadata node's add must not be reported as well
        auto events = changes.take();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].first, USB_DEVICE_CHANGE_ADD);
        QCOMPARE(events[0].second, 0L);
        QCOMPARE(listed(), (QStringList{"Zero 1bcf:2c99 S0", "First 046d:0825 S1"}));

        // A change of a listed node (new attributes, a driver rebinding) is no unplug.
        umockdev_testbed_uevent(testbed_, qPrintable(nodePaths_[2]), "change");
        QThread::msleep(300);
        QCOMPARE(changes.size(), std::size_t(0));
        QCOMPARE(listed().size(), 2);

        // The camera at index 1 goes: reported once, with its index in the caller's list.
        timer.restart();
        unplugNode(3);
        unplugNode(2);
        QVERIFY(waitFor([&] { return changes.size() >= 1; }));
        qInfo(
            "udev under umockdev: add reported as ADD after %lld ms, remove as REMOVE after %lld ms, change "
            "and the metadata node's events reported as nothing",
            addMs, timer.elapsed());
        QThread::msleep(300);
        events = changes.take();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].first, USB_DEVICE_CHANGE_REMOVE);
        QCOMPARE(events[0].second, 1L);
        char name[512];
        QCOMPARE(camGetDevName(1, name), long(CAM_ERR_DEVICE_GONE));
        QCOMPARE(listed(), QStringList{"Zero 1bcf:2c99 S0"});
    }
};

QTEST_GUILESS_MAIN(KernelPlatformTest)
#include "tst_kernelplatform.moc"
