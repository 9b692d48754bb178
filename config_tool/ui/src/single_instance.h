#pragma once
// One running instance of a program: the first holds a named lock and
// listens on a local socket named after it; a later one asks the first to
// come to the front and does not start.
#include <QObject>
#include <memory>
#include <string>

class QLocalServer;
namespace platform {
class NamedMutex;
}

namespace axcfgui {

class CSingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit CSingleInstance(std::string name, QObject* parent = nullptr);
  ~CSingleInstance() override;

  // True when this process is now the one instance; false when another
  // holds it (that one has been asked to come to the front).
  bool Take();
  // Gives the instance up (at exit).
  void Release();

 signals:
  // A later instance asked this one to come to the front.
  void activationRequested();

 private:
  std::string SocketPath() const;

  std::string m_name;
  std::unique_ptr<platform::NamedMutex> m_mutex;
  QLocalServer* m_server = nullptr;
};

}  // namespace axcfgui
