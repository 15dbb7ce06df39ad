// The class factory and DllCanUnloadNow: the server may unload only when no object and no lock
// is alive.

#include "interface/windows/com_guids.hpp"
#include "interface/windows/tests/client.hpp"

namespace client {

void RunLifetimeChecks(const Server& server) {
  using armocalc::com::kClassId;
  Check(server.can_unload_now() == S_OK, "DllCanUnloadNow: S_OK with nothing alive");

  Ptr<IClassFactory> factory;
  Check(server.get_class_object(IID_IDispatch, IID_IClassFactory, factory.void_out()) ==
            CLASS_E_CLASSNOTAVAILABLE,
        "DllGetClassObject refuses another class");
  const HRESULT got = server.get_class_object(kClassId, IID_IClassFactory, factory.void_out());
  Check(got == S_OK && factory, "DllGetClassObject hands out the class factory", Hex(got));
  if (!factory) return;

  Ptr<IUnknown> aggregated;
  Ptr<IUnknown> outer;
  CreateObject(reinterpret_cast<IDispatch**>(outer.out()));
  Check(factory->CreateInstance(outer.get(), IID_IUnknown, aggregated.void_out()) ==
            CLASS_E_NOAGGREGATION,
        "the class refuses aggregation");
  outer.reset();

  Ptr<IDispatch> object;
  const HRESULT created = factory->CreateInstance(nullptr, IID_IDispatch, object.void_out());
  Check(created == S_OK && object, "the factory creates ClassBrige", Hex(created));
  factory.reset();
  Check(server.can_unload_now() == S_FALSE, "DllCanUnloadNow: S_FALSE while an object lives");
  object.reset();
  Check(server.can_unload_now() == S_OK, "DllCanUnloadNow: S_OK after the object's release");

  server.get_class_object(kClassId, IID_IClassFactory, factory.void_out());
  if (!factory) return;
  factory->LockServer(TRUE);
  factory.reset();
  Check(server.can_unload_now() == S_FALSE, "DllCanUnloadNow: S_FALSE while the server is locked");
  server.get_class_object(kClassId, IID_IClassFactory, factory.void_out());
  if (!factory) return;
  factory->LockServer(FALSE);
  factory.reset();
  Check(server.can_unload_now() == S_OK, "DllCanUnloadNow: S_OK after the lock's release");
}

}  // namespace client
