#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "platform/folders.h"
#include "platform/named_mutex.h"

namespace axcfgui {

CSingleInstance::CSingleInstance(std::string name, QObject* parent) : QObject(parent), m_name(std::move(name)) {}

CSingleInstance::~CSingleInstance() { Release(); }

std::string CSingleInstance::SocketPath() const { return platform::RuntimeDir() + "/" + m_name + ".instance"; }

bool CSingleInstance::Take() {
  m_mutex = std::make_unique<platform::NamedMutex>(m_name);
  if (!m_mutex->TryLock()) {
    m_mutex.reset();
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(SocketPath()));
    if (socket.waitForConnected(1000)) {
      socket.write("show\n");
      socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
    }
    return false;
  }
  // A socket left by a first instance that died is ours to replace.
  QLocalServer::removeServer(QString::fromStdString(SocketPath()));
  m_server = new QLocalServer(this);
  m_server->listen(QString::fromStdString(SocketPath()));
  connect(m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* peer = m_server->nextPendingConnection()) {
      connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      emit activationRequested();
    }
  });
  return true;
}

void CSingleInstance::Release() {
  if (m_server) {
    m_server->close();
    delete m_server;
    m_server = nullptr;
  }
  if (m_mutex) {
    m_mutex->Unlock();
    m_mutex.reset();
  }
}

}  // namespace axcfgui
