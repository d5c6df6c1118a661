// Script side of the QtScript layer. Evaluated once per engine with the C++ binding object;
// gives back the helpers the engine calls. QObjects appear to scripts as proxies whose traps
// resolve methods and static properties from per-class tables and ask C++ for the rest.
(function (B) {
    const TARGET = Symbol("qobject");
    const PROXY = Symbol("proxy");
    const VARIANT = Symbol("variant");
    const PRIMITIVE = Symbol("primitive");
    const AUTO_CREATE = Symbol("autoCreateDynamicProperties");
    const hidden = new WeakMap();
    const NO_DATA = Symbol("noData");
    const own = Object.prototype.hasOwnProperty;

    const variantPrototype = {
        valueOf: function () { return this[PRIMITIVE]; },
        toString: function () { return String(this[PRIMITIVE]); }
    };

    function isObject(v) {
        return (typeof v === "object" && v !== null) || typeof v === "function";
    }

    function makeHandler(classId, methods, properties, signals) {
        // No getOwnPropertyDescriptor trap: V4 rejects descriptors of properties the target
        // lacks, so QObject members are listed (ownKeys) but not described.
        return {
            get: function (t, k) {
                if (typeof k === "symbol")
                    return k === TARGET ? t[TARGET] : t[k];
                const m = methods[k];
                if (m !== undefined)
                    return m;
                const p = properties[k];
                if (p !== undefined)
                    return B.readProperty(t[TARGET], p);
                if (signals[k] !== undefined)
                    return t[TARGET][k];
                if (own.call(t, k))
                    return t[k];
                if (B.hasExtra(t[TARGET], k))
                    return B.readExtra(t[TARGET], k);
                return t[k];
            },
            set: function (t, k, v) {
                if (typeof k === "symbol" || typeof v === "function" || own.call(t, k)) {
                    t[k] = v;
                    return true;
                }
                const p = properties[k];
                if (p !== undefined)
                    B.writeProperty(t[TARGET], p, v);
                else if (!B.writeExtra(t[TARGET], k, v, t[AUTO_CREATE]))
                    t[k] = v;
                return true;
            },
            has: function (t, k) {
                if (typeof k === "symbol")
                    return k in t;
                return methods[k] !== undefined || properties[k] !== undefined
                    || signals[k] !== undefined || B.hasExtra(t[TARGET], k) || k in t;
            },
            deleteProperty: function (t, k) {
                if (typeof k !== "symbol" && B.hasExtra(t[TARGET], k))
                    return B.deleteExtra(t[TARGET], k);
                return delete t[k];
            },
            ownKeys: function (t) {
                const keys = B.keys(t[TARGET], classId);
                for (const k of Reflect.ownKeys(t)) {
                    if (k !== TARGET && keys.indexOf(k) < 0)
                        keys.push(k);
                }
                return keys;
            }
        };
    }

    return {
        makeHandler: makeHandler,
        makeMethod: function (classId, group) {
            return function () {
                const target = isObject(this) ? this[TARGET] : undefined;
                return B.invoke(target, classId, group, arguments);
            };
        },
        // A method whose types the script engine converts exactly as we do: called through the
        // engine's own binding when the argument count fits one signature (countMask bit n for
        // n arguments), through ours otherwise, so that errors read the same.
        makeDirectMethod: function (classId, group, name, countMask) {
            return function () {
                const target = isObject(this) ? this[TARGET] : undefined;
                if (target !== undefined && ((countMask >>> arguments.length) & 1) === 1) {
                    const method = target[name];
                    if (typeof method === "function")
                        return method.apply(target, arguments);
                }
                return B.invoke(target, classId, group, arguments);
            };
        },
        makeNative: function (id) {
            const f = function () {
                return B.callNative(id, f, this, arguments,
                                    new.target !== undefined);
            };
            return f;
        },
        wrap: function (w, handler, autoCreate) {
            let p = w[PROXY];
            if (p === undefined) {
                const t = {};
                t[TARGET] = w;
                t[AUTO_CREATE] = autoCreate;
                p = new Proxy(t, handler);
                w[PROXY] = p;
            }
            return p;
        },
        qobjectOf: function (v) { return isObject(v) ? v[TARGET] : undefined; },
        makeVariant: function (box, primitive) {
            const v = Object.create(variantPrototype);
            v[VARIANT] = box;
            v[PRIMITIVE] = primitive;
            return v;
        },
        variantOf: function (v) { return isObject(v) ? v[VARIANT] : undefined; },
        // What a value stands for, in one call: its variant box, its QObject, or undefined.
        unwrap: function (v) {
            if (!isObject(v))
                return undefined;
            const box = v[VARIANT];
            return box !== undefined ? box : v[TARGET];
        },
        // For a conversion walking objects: the index m gave v before; NEW_OBJECT when m had
        // not seen it (v then gets index next); ARRAY_BUFFER for bytes, never kept in m.
        seenIndex: function (m, v, next) {
            if (v instanceof ArrayBuffer)
                return -2;
            const i = m.get(v);
            if (i !== undefined)
                return i;
            m.set(v, next);
            return -1;
        },
        newMap: function () { return new Map(); },
        noData: NO_DATA,
        dataOf: function (o) { return hidden.has(o) ? hidden.get(o) : NO_DATA; },
        setData: function (o, v) { hidden.set(o, v); },
        clearData: function (o) { hidden.delete(o); },
        call: function (f, self, args) {
            try { return [true, f.apply(self, args)]; } catch (e) { return [false, e]; }
        },
        construct: function (f, args) {
            try { return [true, Reflect.construct(f, args)]; } catch (e) { return [false, e]; }
        },
        hasOwn: function (o, k) { return own.call(o, k); },
        has: function (o, k) { return k in o; },
        remove: function (o, k) { delete o[k]; },
        define: function (o, k, v, writable, enumerable, configurable) {
            Object.defineProperty(o, k, { value: v, writable: writable, enumerable: enumerable,
                                          configurable: configurable });
        },
        defineAccessor: function (o, k, f, isGetter) {
            const d = { enumerable: true, configurable: true };
            d[isGetter ? "get" : "set"] = f;
            Object.defineProperty(o, k, d);
        },
        descriptor: function (o, k) {
            for (let p = o; p !== null; p = Object.getPrototypeOf(p)) {
                const d = Object.getOwnPropertyDescriptor(p, k);
                if (d !== undefined)
                    return d;
            }
            return undefined;
        },
        dict: function () { return Object.create(null); },
        names: function (o) { return Reflect.ownKeys(o).filter(function (k) { return typeof k === "string"; }); },
        looseEquals: function (a, b) { return a == b; }
    };
})
