#pragma once
// CObject and run-time class identity: a handler can ask whether the window that sent a
// message is, say, a slider (`IsKindOf(RUNTIME_CLASS(CCustomSlider))`).
//
// A class takes part with DECLARE_DYNAMIC(Class) in its declaration and
// IMPLEMENT_DYNAMIC(Class, Base) in its source file.

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    bool IsDerivedFrom(const CRuntimeClass* base) const {
        for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
            if (c == base) {
                return true;
            }
        }
        return false;
    }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override {                                        \
        return &class##class_name;                                                                 \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class)                                                  \
    const CRuntimeClass class_name::class##class_name = {#class_name, RUNTIME_CLASS(base_class)};

class CObject {
public:
    static const CRuntimeClass classCObject;
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr};
