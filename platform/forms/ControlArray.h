#pragma once
// A control array: elements sharing a name, told apart by Index. The design elements exist at each load;
// Load(i) adds an element as a copy of the lowest design element's design (a control starts hidden, a
// menu item takes its place after the array's last member); Unload(i) removes one loaded at run time.
// The form's unload drops every element loaded at run time.
//
// Events: OnEach binds the events of every element, present and future, e.g.
//   Toolbar.OnEach([this](SoftButton& b) { b.Click = [this, i = b.Index()] { Toolbar_Click(i); }; });

#include "platform/forms/Control.h"
#include "platform/forms/FormSite.h"
#include "platform/runtime/RuntimeError.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace forms {

inline constexpr std::int32_t ControlArrayElementMissing = 340;
inline constexpr std::int32_t CannotUnloadDesignElement = 362;

// The design of a control: where it sits, its own properties and the common ones.
template <class D>
struct ControlBlueprint {
    Extent at;
    D own = {};
    Common common = {};
};

class ControlArrayBase {
public:
    virtual ~ControlArrayBase() = default;
    // The form unloaded: elements loaded at run time go.
    virtual void DropRuntimeElements() = 0;
};

template <class T>
class ControlArray final : public ControlArrayBase {
public:
    using Blueprint = typename T::Blueprint;

    template <class Parent>
    ControlArray(Parent& parent, std::string name, std::vector<std::pair<int, Blueprint>> design)
        : form_(FormOf(parent)), name_(std::move(name)) {
        make_ = [&parent, this](int index, const Blueprint& blueprint) { return Make(parent, blueprint, index); };
        for (auto& [index, blueprint] : design) {
            designIndexes_.insert(index);
            blueprints_.emplace(index, blueprint);
            elements_.emplace(index, make_(index, blueprint));
        }
        FormSite::Register(form_, *this);
    }
    ~ControlArray() override { FormSite::Unregister(form_, *this); }
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    const std::string& Name() const noexcept { return name_; }

    // The element; error 340 when there is none with that index.
    T& operator()(int index) const {
        FormSite::EnsureLoaded(form_);
        const auto it = elements_.find(index);
        if (it == elements_.end())
            throw RuntimeError(ControlArrayElementMissing, "Control array element '" + std::to_string(index) +
                                                               "' doesn't exist");
        return *it->second;
    }
    T& operator[](int index) const { return (*this)(index); }
    bool Exists(int index) const { FormSite::EnsureLoaded(form_); return elements_.count(index) != 0; }

    int LBound() const { FormSite::EnsureLoaded(form_); return elements_.empty() ? 0 : elements_.begin()->first; }
    int UBound() const { FormSite::EnsureLoaded(form_); return elements_.empty() ? -1 : elements_.rbegin()->first; }
    int Count() const { FormSite::EnsureLoaded(form_); return static_cast<int>(elements_.size()); }
    std::vector<int> Indexes() const {
        FormSite::EnsureLoaded(form_);
        std::vector<int> out;
        for (const auto& e : elements_) out.push_back(e.first);
        return out;
    }

    // Error 360 when the element is loaded already.
    void Load(int index) {
        FormSite::EnsureLoaded(form_);
        if (elements_.count(index)) throw RuntimeError(err::ElementAlreadyLoaded);
        if (index < 0 || index > 32767) throw RuntimeError(err::InvalidPropertyArrayIndex);
        Blueprint blueprint = blueprints_.begin()->second;
        if constexpr (!std::is_same_v<Blueprint, typename T::Design>) blueprint.common.Visible = false;
        auto element = make_(index, blueprint);
        T& added = *element;
        elements_.emplace(index, std::move(element));
        if constexpr (std::is_base_of_v<Control, T>) {
            added.ResetFromDesign();
            FormSite::CreateWindowOf(form_, added);
        }
        if (binder_) binder_(added);
    }

    // Elements of the design cannot be unloaded (error 362); a missing one is error 340.
    void Unload(int index) {
        FormSite::EnsureLoaded(form_);
        if (designIndexes_.count(index)) throw RuntimeError(CannotUnloadDesignElement,
                                                            "Can't unload controls created at design time");
        if (!elements_.count(index)) (*this)(index);
        elements_.erase(index);
    }

    void OnEach(std::function<void(T&)> binder) {
        binder_ = std::move(binder);
        for (auto& e : elements_) binder_(*e.second);
    }

    void DropRuntimeElements() override {
        std::erase_if(elements_, [this](const auto& e) { return designIndexes_.count(e.first) == 0; });
    }

private:
    static Form& FormOf(Form& f) { return f; }
    template <class P>
    static Form& FormOf(P& p) { return p.OwnerForm(); }

    template <class Parent>
    std::unique_ptr<T> Make(Parent& parent, const Blueprint& blueprint, int index) {
        if constexpr (std::is_same_v<Blueprint, typename T::Design>)
            return std::make_unique<T>(parent, name_, blueprint, index);
        else
            return std::make_unique<T>(parent, name_, blueprint.at, blueprint.own, blueprint.common, index);
    }

    Form& form_;
    const std::string name_;
    std::function<std::unique_ptr<T>(int, const Blueprint&)> make_;
    std::map<int, std::unique_ptr<T>> elements_;
    std::map<int, Blueprint> blueprints_;
    std::set<int> designIndexes_;
    std::function<void(T&)> binder_;
};

}  // namespace forms
