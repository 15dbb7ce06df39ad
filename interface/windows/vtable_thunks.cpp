#include "interface/windows/vtable_thunks.hpp"

#include <cstdint>
#include <cstring>
#include <vector>

#include "interface/method_table.hpp"
#include "interface/windows/class_brige.hpp"
#include "interface/windows/com_variant.hpp"
#include "interface/windows/platform.hpp"

// Thirty-two stubs: "mov $k, %eax; jmp common" and a table of their addresses.
// clang-format off
#define ARMOCALC_THUNKS(X)                                                                  \
  X(0) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) X(13) X(14) X(15)     \
  X(16) X(17) X(18) X(19) X(20) X(21) X(22) X(23) X(24) X(25) X(26) X(27) X(28) X(29) X(30) \
  X(31)

#if defined(__i386__)
#define ARMOCALC_SYMBOL(name) "_" name
#define ARMOCALC_ADDRESS ".long "
#elif defined(__x86_64__)
#define ARMOCALC_SYMBOL(name) name
#define ARMOCALC_ADDRESS ".quad "
#else
#error "the v-table stubs are written for i686 and x86_64"
#endif

#define ARMOCALC_THUNK_CODE(k)                            \
  ARMOCALC_SYMBOL("armocalc_thunk_" #k) ":\n"             \
  "  movl $" #k ", %eax\n"                                \
  "  jmp " ARMOCALC_SYMBOL("armocalc_common_thunk") "\n"
#define ARMOCALC_THUNK_ADDRESS(k) "  " ARMOCALC_ADDRESS ARMOCALC_SYMBOL("armocalc_thunk_" #k) "\n"
// clang-format on

extern "C" {
extern const armocalc::com::VtableEntry armocalc_thunk_table[armocalc::com::kMaxVtableMethods];
}

namespace armocalc::com {
namespace {

// Reads the native arguments of one call into by-reference and by-value VARIANTs (borrowing the
// caller's strings and objects) and runs the method.
class NativeArguments {
 public:
  // `reader` yields the arguments after `this` in order: Pointer() for a by-reference one and
  // for the final result pointer, Value() for a by-value one.
  template <class Reader>
  HRESULT Call(const MethodInfo& method, void* self, Reader& reader) {
    const size_t count = method.params.size();
    variants_.resize(count);
    pointers_.assign(count, nullptr);
    for (size_t i = 0; i < count; ++i) {
      const ParamInfo& param = method.params[i];
      VARIANT& v = variants_[i];
      VariantInit(&v);
      const VARTYPE type = AutomationType(param.type);
      if (param.mode == PassingMode::ByRef) {
        void* target = reader.Pointer();
        if (target == nullptr) continue;  // no variable: treated as omitted
        V_VT(&v) = static_cast<VARTYPE>(VT_BYREF | type);
        V_BYREF(&v) = target;
      } else {
        V_VT(&v) = type;
        reader.Value(type, v);
      }
      pointers_[i] = &v;
    }
    void* result = reader.Pointer();
    return ClassBrige::CallFromVtable(self, method, pointers_, result);
  }

 private:
  std::vector<VARIANT> variants_;
  std::vector<const VARIANT*> pointers_;
};

// Copies a by-value argument of `type` from its argument word (or register copy).
void CopyValue(VARTYPE type, const void* word, VARIANT& v) {
  switch (type) {
    case VT_UI1:
      std::memcpy(&V_UI1(&v), word, sizeof(BYTE));
      break;
    case VT_I2:
      std::memcpy(&V_I2(&v), word, sizeof(SHORT));
      break;
    case VT_BOOL:
      std::memcpy(&V_BOOL(&v), word, sizeof(VARIANT_BOOL));
      break;
    case VT_I4:
      std::memcpy(&V_I4(&v), word, sizeof(LONG));
      break;
    case VT_R4:
      std::memcpy(&V_R4(&v), word, sizeof(FLOAT));
      break;
    case VT_R8:
      std::memcpy(&V_R8(&v), word, sizeof(DOUBLE));
      break;
    case VT_BSTR:
      std::memcpy(&V_BSTR(&v), word, sizeof(BSTR));
      break;
    case VT_DISPATCH:
      std::memcpy(&V_DISPATCH(&v), word, sizeof(IDispatch*));
      break;
    default:
      V_VT(&v) = VT_EMPTY;
      break;
  }
}

#if defined(__i386__)

// stdcall: every argument on the stack in 4-byte words, a Double by value in two.
class StackReader {
 public:
  explicit StackReader(const uint8_t* args) : next_(args) {}
  void* Pointer() {
    void* p;
    std::memcpy(&p, next_, sizeof p);
    next_ += 4;
    return p;
  }
  void Value(VARTYPE type, VARIANT& v) {
    CopyValue(type, next_, v);
    next_ += type == VT_R8 ? 8 : 4;
  }

 private:
  const uint8_t* next_;
};

// The bytes the caller pushed: `this`, the arguments and the result pointer.
uint32_t StackBytes(const MethodInfo& method) {
  uint32_t bytes = 4;
  for (const ParamInfo& param : method.params) {
    const bool double_value = param.mode == PassingMode::ByVal && param.type == VarType::Double;
    bytes += double_value ? 8 : 4;
  }
  return bytes + 4;
}

#else

// Microsoft x64: argument words of 8 bytes (the first four spilled to their home slots by the
// common stub); floating-point values among the first four arrive in XMM registers instead.
class RegisterReader {
 public:
  RegisterReader(const uint64_t* words, const double* xmm) : words_(words), xmm_(xmm) {}
  void* Pointer() {
    void* p;
    std::memcpy(&p, &words_[index_], sizeof p);
    ++index_;
    return p;
  }
  void Value(VARTYPE type, VARIANT& v) {
    const bool floating = type == VT_R4 || type == VT_R8;
    if (floating && index_ >= 1 && index_ <= 3) {
      CopyValue(type, &xmm_[index_ - 1], v);
    } else {
      CopyValue(type, &words_[index_], v);
    }
    ++index_;
  }

 private:
  const uint64_t* words_;
  const double* xmm_;
  size_t index_ = 1;  // word 0 is `this`
};

#endif

const MethodInfo* MethodAt(uint32_t slot) {
  const auto methods = Methods();
  return slot < methods.size() ? &methods[slot] : nullptr;
}

}  // namespace

VtableEntry MethodVtableEntry(size_t method_index) {
  return method_index < kMaxVtableMethods ? armocalc_thunk_table[method_index] : nullptr;
}

}  // namespace armocalc::com

#if defined(__i386__)

// Returns the HRESULT in the low half and the bytes the stub removes from the stack (`this`, the
// arguments and the result pointer) in the high half.
extern "C" uint64_t armocalc_vtable_call(uint32_t slot, const uint8_t* stack) {
  using namespace armocalc;
  using namespace armocalc::com;
  const MethodInfo* method = MethodAt(slot);
  if (method == nullptr) return (uint64_t{4} << 32) | static_cast<uint32_t>(E_UNEXPECTED);
  void* self;
  std::memcpy(&self, stack, sizeof self);
  HRESULT hr;
  try {
    StackReader reader(stack + 4);
    NativeArguments args;
    hr = args.Call(*method, self, reader);
  } catch (...) {
    hr = E_OUTOFMEMORY;
  }
  return (uint64_t{StackBytes(*method)} << 32) | static_cast<uint32_t>(hr);
}

asm(".text\n"
    "  .p2align 4\n" ARMOCALC_SYMBOL("armocalc_common_thunk") ":\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  andl $-16, %esp\n"
    "  subl $8, %esp\n"
    "  leal 8(%ebp), %ecx\n"  // `this`, then the arguments
    "  pushl %ecx\n"
    "  pushl %eax\n"
    "  call " ARMOCALC_SYMBOL("armocalc_vtable_call") "\n"
    "  movl %ebp, %esp\n"
    "  popl %ebp\n"
    "  popl %ecx\n"           // return address
    "  addl %edx, %esp\n"     // stdcall: the callee removes its arguments
    "  jmp *%ecx\n" ARMOCALC_THUNKS(ARMOCALC_THUNK_CODE));

#else

extern "C" HRESULT armocalc_vtable_call(uint32_t slot, const uint64_t* words, const double* xmm) {
  using namespace armocalc;
  using namespace armocalc::com;
  const MethodInfo* method = MethodAt(slot);
  if (method == nullptr) return E_UNEXPECTED;
  void* self;
  std::memcpy(&self, &words[0], sizeof self);
  try {
    RegisterReader reader(words, xmm);
    NativeArguments args;
    return args.Call(*method, self, reader);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

asm(".text\n"
    "  .p2align 4\n"
    "  .def armocalc_common_thunk; .scl 3; .type 32; .endef\n"
    "  .seh_proc armocalc_common_thunk\n"
    "armocalc_common_thunk:\n"
    "  movq %rcx, 8(%rsp)\n"  // home slots: `this` and the first three arguments
    "  movq %rdx, 16(%rsp)\n"
    "  movq %r8, 24(%rsp)\n"
    "  movq %r9, 32(%rsp)\n"
    "  subq $72, %rsp\n"
    "  .seh_stackalloc 72\n"
    "  .seh_endprologue\n"
    "  movsd %xmm1, 32(%rsp)\n"
    "  movsd %xmm2, 40(%rsp)\n"
    "  movsd %xmm3, 48(%rsp)\n"
    "  movl %eax, %ecx\n"
    "  leaq 80(%rsp), %rdx\n"
    "  leaq 32(%rsp), %r8\n"
    "  call armocalc_vtable_call\n"
    "  addq $72, %rsp\n"
    "  ret\n"
    "  .seh_endproc\n" ARMOCALC_THUNKS(ARMOCALC_THUNK_CODE));

#endif

asm(".section .rdata,\"dr\"\n"
    "  .p2align 3\n"
    "  .globl " ARMOCALC_SYMBOL("armocalc_thunk_table") "\n" ARMOCALC_SYMBOL(
        "armocalc_thunk_table") ":\n" ARMOCALC_THUNKS(ARMOCALC_THUNK_ADDRESS) "  .text\n");
