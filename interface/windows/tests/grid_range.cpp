#include "interface/windows/tests/grid_range.hpp"

#include <memory>
#include <string>

namespace client {
namespace {

long calls = 0;

constexpr DISPID kRows = 1;
constexpr DISPID kColumns = 2;
constexpr DISPID kValue = 3;
constexpr DISPID kCount = 4;

class DispatchBase : public IDispatch {
 public:
  virtual ~DispatchBase() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    static const std::pair<const wchar_t*, DISPID> kNames[] = {
        {L"Rows", kRows}, {L"Columns", kColumns}, {L"Value", kValue}, {L"Count", kCount}};
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const auto& [name, id] : kNames) {
        if (CompareStringOrdinal(names[i], -1, name, -1, TRUE) == CSTR_EQUAL) ids[i] = id;
      }
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    ++calls;
    if ((flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr) return E_POINTER;
    VariantInit(result);
    return Answer(id, params, result);
  }

 protected:
  virtual HRESULT Answer(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;

 private:
  long references_ = 1;
};

class Counter final : public DispatchBase {
 public:
  explicit Counter(long count) : count_(count) {}

 private:
  HRESULT Answer(DISPID id, DISPPARAMS*, VARIANT* result) override {
    if (id != kCount) return DISP_E_MEMBERNOTFOUND;
    V_VT(result) = VT_I4;
    V_I4(result) = count_;
    return S_OK;
  }
  long count_;
};

// One cell, as Excel answers Range(r, c): its default member and Value give the content.
class Cell final : public DispatchBase {
 public:
  explicit Cell(const VARIANT& content) {
    VariantCopy(content_.get(), const_cast<VARIANT*>(&content));
  }

 private:
  HRESULT Answer(DISPID id, DISPPARAMS* params, VARIANT* result) override {
    if ((id != DISPID_VALUE && id != kValue) || params->cArgs != 0) return DISP_E_MEMBERNOTFOUND;
    return VariantCopy(result, content_.get());
  }
  Var content_;
};

class Grid final : public DispatchBase {
 public:
  explicit Grid(const std::vector<std::vector<double>>& cells) : cells_(cells) {}

 private:
  HRESULT Answer(DISPID id, DISPPARAMS* params, VARIANT* result) override {
    const long rows = static_cast<long>(cells_.size());
    const long columns = rows > 0 ? static_cast<long>(cells_[0].size()) : 0;
    switch (id) {
      case kRows:
      case kColumns:
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = new Counter(id == kRows ? rows : columns);
        return S_OK;
      case kValue:
        return ValueOf(result);
      case DISPID_VALUE:
        if (params->cArgs == 0) return ValueOf(result);
        if (params->cArgs == 2) return CellAt(params, result);
        return DISP_E_BADPARAMCOUNT;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT ValueOf(VARIANT* result) {
    if (cells_.size() == 1 && cells_[0].size() == 1) {
      V_VT(result) = VT_R8;
      V_R8(result) = cells_[0][0];
      return S_OK;
    }
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(cells_.size()), 1},
                                {static_cast<ULONG>(cells_.empty() ? 0 : cells_[0].size()), 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    for (size_t r = 0; r < cells_.size(); ++r) {
      for (size_t c = 0; c < cells_[r].size(); ++c) {
        VARIANT cell;
        V_VT(&cell) = VT_R8;
        V_R8(&cell) = cells_[r][c];
        LONG indices[2] = {static_cast<LONG>(r + 1), static_cast<LONG>(c + 1)};  // rows first
        SafeArrayPutElement(array, indices, &cell);
      }
    }
    V_VT(result) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(result) = array;
    return S_OK;
  }

  // Arguments come last first: rgvarg[1] is the row, rgvarg[0] the column.
  HRESULT CellAt(DISPPARAMS* params, VARIANT* result) {
    Var row;
    Var column;
    if (FAILED(VariantChangeType(row.get(), &params->rgvarg[1], 0, VT_I4)) ||
        FAILED(VariantChangeType(column.get(), &params->rgvarg[0], 0, VT_I4))) {
      return DISP_E_TYPEMISMATCH;
    }
    const long r = V_I4(row.get());
    const long c = V_I4(column.get());
    if (r < 1 || c < 1) return DISP_E_EXCEPTION;
    VARIANT content;
    VariantInit(&content);  // beyond the grid: an empty cell of the worksheet
    if (static_cast<size_t>(r) <= cells_.size() &&
        static_cast<size_t>(c) <= cells_[static_cast<size_t>(r - 1)].size()) {
      V_VT(&content) = VT_R8;
      V_R8(&content) = cells_[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)];
    }
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = new Cell(content);
    return S_OK;
  }

  std::vector<std::vector<double>> cells_;
};

}  // namespace

IDispatch* NewGridRange(const std::vector<std::vector<double>>& cells) {
  return new Grid(cells);
}

IDispatch* NewTextCell(const wchar_t* text) {
  Var content;
  V_VT(content.get()) = VT_BSTR;
  V_BSTR(content.get()) = SysAllocString(text);
  return new Cell(*content);
}

long GridCalls() {
  return calls;
}

}  // namespace client
