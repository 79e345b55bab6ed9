#pragma once
// The list under the explosion and game-object lists: it owns sprites that take themselves out of
// it, and draws them first to last (the first beneath the later ones). Each element keeps a plain
// pointer to the list that holds it (the member Holder), and a pass visits each element that was in
// the list when the pass began and still is when its turn comes, holding it alive while it runs; so
// an element may kill itself, or others, while it is visited.

#include "framework/graphics/game_image.h"
#include "framework/util/object.h"

#include <algorithm>
#include <list>
#include <memory>
#include <vector>

template <class T, class Self, Self* T::*Holder> class TSpriteList : public TObject {
public:
    using Ptr = std::shared_ptr<T>;

    TSpriteList() = default;
    ~TSpriteList() override { Clear(); }
    TSpriteList(const TSpriteList&) = delete;
    TSpriteList& operator=(const TSpriteList&) = delete;

    // A new element (T::Create) at (x, y), appended.
    Ptr AddNew(int x, int y, const TGameImagePtr& image) {
        Ptr item = T::Create(image, static_cast<float>(x), static_cast<float>(y));
        AddLast(item);
        return item;
    }
    int Draw() {
        Pass([](T& item) { item.Draw(); });
        return 0;
    }

    // Appends the element (drawn over the others); it leaves the list it was in.
    int AddLast(const Ptr& item) {
        if (Self* old = (*item).*Holder)
            old->Remove(item.get());
        (*item).*Holder = self();
        items_.push_back(item);
        return 0;
    }
    // Takes the element out (it forgets the list); nothing when it is not in this list.
    int Remove(T* item) {
        auto at = std::find_if(items_.begin(), items_.end(),
                               [item](const Ptr& p) { return p.get() == item; });
        if (at == items_.end())
            return 0;
        item->*Holder = nullptr;
        items_.erase(at); // may free the element: nothing touches it afterwards
        return 0;
    }
    // Takes every element out.
    int Clear() {
        std::list<Ptr> gone;
        gone.swap(items_);
        for (const Ptr& p : gone)
            (*p).*Holder = nullptr;
        return 0;
    }
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    Ptr First() const { return items_.empty() ? nullptr : items_.front(); }
    Ptr Last() const { return items_.empty() ? nullptr : items_.back(); }
    typename std::list<Ptr>::const_iterator begin() const { return items_.begin(); }
    typename std::list<Ptr>::const_iterator end() const { return items_.end(); }

protected:
    template <class Visit> void Pass(Visit visit) {
        const std::vector<Ptr> visiting(items_.begin(), items_.end());
        for (const Ptr& item : visiting)
            if ((*item).*Holder == self())
                visit(*item);
    }

private:
    Self* self() { return static_cast<Self*>(this); }

    std::list<Ptr> items_;
};
