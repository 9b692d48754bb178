// The program plcsim as a peer in another process: its pseudo-terminal
// opened as a serial port, its TCP port, its modem, its command line.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <filesystem>

#include "plcframe/frame_codec.h"
#include "test_home.h"

namespace {

class PlcSimProcess {
 public:
  explicit PlcSimProcess(const QStringList& args) {
    process_.setProgram(QString::fromStdString(keldtest::BinPath("plcsim")));
    process_.setArguments(args);
    process_.start();
    started_ = process_.waitForStarted(5000);
  }
  ~PlcSimProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  // The last word of the first line the program prints.
  QString Announced() {
    QElapsedTimer t;
    t.start();
    while (!process_.canReadLine() && t.elapsed() < 5000) process_.waitForReadyRead(100);
    const QString line = QString::fromUtf8(process_.readLine()).trimmed();
    return line.section(' ', -1);
  }
  int Stop() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  bool started_ = false;
  QProcess process_;
};

// Reads from a device until a carriage return arrives or the time is up.
QByteArray ReadAnswer(QIODevice& d, int ms = 3000) {
  QByteArray data;
  QElapsedTimer t;
  t.start();
  while (!data.endsWith('\r') && t.elapsed() < ms) {
    if (d.bytesAvailable() == 0) d.waitForReadyRead(50);
    data += d.readAll();
  }
  return data;
}

QByteArray Frame(const std::string& text) { return QByteArray::fromStdString(plcframe::CompleteFrame(text)); }

TEST(PlcSimProgram, SerialPseudoTerminalCarriesFramedCommands) {
  const std::string link = keldtest::FreshDir("pty") + "/ttySIM";
  PlcSimProcess sim({"--serial", "--station", "3", "--link", QString::fromStdString(link)});
  ASSERT_TRUE(sim.started_);
  const QString path = sim.Announced();
  ASSERT_TRUE(path.startsWith("/dev/")) << path.toStdString();
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), path.toStdString());
  QSerialPort port;
  port.setPortName(path);
  ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
  port.setBaudRate(QSerialPort::Baud9600);
  port.write(Frame("%03#UW00000B00030011002200FF"));
  EXPECT_EQ(ReadAnswer(port), Frame("%03$UW"));
  // written in two pieces with noise before the frame
  const QByteArray read = Frame("%03#UR00000B0003");
  port.write("\x01junk" + read.left(4));
  port.flush();
  port.waitForBytesWritten(100);
  port.write(read.mid(4));
  EXPECT_EQ(ReadAnswer(port), Frame("%03$UR0011002200FF"));
  // a frame for another station gets no answer
  port.write(Frame("%04#UR00000B0003"));
  EXPECT_EQ(ReadAnswer(port, 300), QByteArray());
  // the port can be closed and opened again
  port.close();
  ASSERT_TRUE(port.open(QIODevice::ReadWrite));
  port.write(Frame("%03#UR0000002001"));
  EXPECT_EQ(ReadAnswer(port), Frame("%03$UR1422"));
  port.close();
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  // the memory was saved at the end
  EXPECT_TRUE(std::filesystem::exists(keldtest::TestHome() + "/data/plcsim/station03-slot00-model5154.working"));
}

TEST(PlcSimProgram, TcpPortWithFaults) {
  PlcSimProcess sim({"--tcp", "0", "--drop", "2", "--log"});
  ASSERT_TRUE(sim.started_);
  const int port = sim.Announced().section(':', -1).toInt();
  ASSERT_GT(port, 0);
  QTcpSocket socket;
  socket.connectToHost("127.0.0.1", static_cast<quint16>(port));
  ASSERT_TRUE(socket.waitForConnected(3000));
  const QByteArray read = Frame("%01#UR0000002001");
  socket.write(read);
  EXPECT_EQ(ReadAnswer(socket), Frame("%01$UR1422"));
  socket.write(read);
  EXPECT_EQ(ReadAnswer(socket, 300), QByteArray());  // dropped
  socket.write(read);
  EXPECT_EQ(ReadAnswer(socket), Frame("%01$UR1422"));
  EXPECT_EQ(sim.Stop(), 0);
  // every frame in and out was logged
  const QString log = QString::fromUtf8(sim.process_.readAllStandardError());
  EXPECT_EQ(log.count("< %01#UR0000002001"), 3) << log.toStdString();
  EXPECT_EQ(log.count("> %01$UR1422"), 2) << log.toStdString();
}

TEST(PlcSimProgram, ConnectsOutToAListeningServer) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  PlcSimProcess sim({"--connect", QString("127.0.0.1:%1").arg(server.serverPort())});
  ASSERT_TRUE(sim.started_);
  ASSERT_TRUE(server.waitForNewConnection(5000));
  QTcpSocket* link = server.nextPendingConnection();
  ASSERT_NE(link, nullptr);
  link->write(Frame("%01#UR0000002001"));
  EXPECT_EQ(ReadAnswer(*link), Frame("%01$UR1422"));
  // when the link drops, the PLC connects again
  link->close();
  ASSERT_TRUE(server.waitForNewConnection(5000));
  link = server.nextPendingConnection();
  link->write(Frame("%EE#UR0000002001"));
  EXPECT_EQ(ReadAnswer(*link), Frame("%EE$UR1422"));
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(PlcSimProgram, ModemDialsThenCarriesFrames) {
  PlcSimProcess sim({"--modem", "--connect-delay", "100", "--busy", "999"});
  ASSERT_TRUE(sim.started_);
  QSerialPort port;
  port.setPortName(sim.Announced());
  ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
  port.write("ATE0V0\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("ATE0V0\r0\r"));
  port.write("ATD999\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("7\r"));
  port.write("ATD123\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("1\r"));
  port.write(Frame("%01#UR0000002001"));
  EXPECT_EQ(ReadAnswer(port), Frame("%01$UR1422"));
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(PlcSimProgram, ModemFarEndHangsUpOnSigusr1AndLogs) {
  PlcSimProcess sim({"--modem", "--connect-delay", "100", "--log"});
  ASSERT_TRUE(sim.started_);
  QSerialPort port;
  port.setPortName(sim.Announced());
  ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
  port.write("ATE0V0\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("ATE0V0\r0\r"));
  port.write("ATD123\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("1\r"));
  ::kill(static_cast<pid_t>(sim.process_.processId()), SIGUSR1);
  EXPECT_EQ(ReadAnswer(port), QByteArray("3\r"));  // NO CARRIER
  port.write("AT\r");
  EXPECT_EQ(ReadAnswer(port), QByteArray("0\r"));  // back in command mode
  EXPECT_EQ(sim.Stop(), 0);
  const QString log = QString::fromUtf8(sim.process_.readAllStandardError());
  for (const char* event : {"modem: line \"ATD123\"", "modem: result CONNECT", "modem: the far end hung up",
                            "modem: result NO CARRIER"})
    EXPECT_TRUE(log.contains(event)) << event << "\n" << log.toStdString();
}

TEST(PlcSimProgram, HelpAndBadOptions) {
  QProcess p;
  p.start(QString::fromStdString(keldtest::BinPath("plcsim")), {"--help"});
  ASSERT_TRUE(p.waitForFinished(5000));
  EXPECT_EQ(p.exitCode(), 0);
  const QString help = QString::fromUtf8(p.readAllStandardOutput());
  for (const char* option : {"--serial", "--tcp", "--connect", "--modem", "--model", "--station", "--slot", "--axes",
                             "--corrupt-bcc", "--nak", "--drop", "--other-station", "--split", "--delay", "--log",
                             "--no-dialtone", "--carrier-loss-after", "--ring-every", "--caller-id"})
    EXPECT_TRUE(help.contains(option)) << option;
  p.start(QString::fromStdString(keldtest::BinPath("plcsim")), {"--tcp", "0", "--model", "1"});
  ASSERT_TRUE(p.waitForFinished(5000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("model"));
}

}  // namespace
