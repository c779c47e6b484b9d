// GNOME-style desktops: the pointer settings in GSettings, which their settings daemon applies.

#include "platform/pointer_settings_linux.h"

namespace pointer_backends
{
namespace
{

// org.gnome.desktop.peripherals.mouse: "speed" (double, -1...1) and "double-click" (int, ms).
// GNOME has no wheel scroll lines.
class GnomePointerSettings final : public PointerSettings
{
public:
    static constexpr const char *kSchema = "org.gnome.desktop.peripherals.mouse";

    // None when the schema is not installed (GSettings aborts on an unknown schema).
    static std::unique_ptr<PointerSettings> open()
    {
        if (!gio())
            return nullptr;
        GSettingsSchemaSource *source = gio()->g_settings_schema_source_get_default();
        GSettingsSchema *schema =
            source ? gio()->g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
        if (!schema)
            return nullptr;
        return std::unique_ptr<PointerSettings>(new GnomePointerSettings(schema));
    }

    ~GnomePointerSettings() override
    {
        gio()->g_object_unref(settings);
        gio()->g_settings_schema_unref(schema);
    }

    bool setPointerSpeed(int speed) override
    {
        return speedInRange(speed) && write("speed", g_variant_new_double(unitSpeed(speed)));
    }
    bool setDoubleClickTime(int milliseconds) override
    {
        return milliseconds > 0 && write("double-click", g_variant_new_int32(milliseconds));
    }
    bool setWheelScrollLines(int) override { return false; }

private:
    explicit GnomePointerSettings(GSettingsSchema *s)
        : schema(s), settings(gio()->g_settings_new_full(s, nullptr, nullptr))
    {
    }

    bool write(const char *key, GVariant *value)
    {
        g_variant_ref_sink(value);
        bool ok = false;
        if (gio()->g_settings_schema_has_key(schema, key)) {
            GSettingsSchemaKey *schemaKey = gio()->g_settings_schema_get_key(schema, key);
            ok = gio()->g_settings_schema_key_range_check(schemaKey, value) &&
                 gio()->g_settings_is_writable(settings, key) &&
                 gio()->g_settings_set_value(settings, key, value);
            gio()->g_settings_schema_key_unref(schemaKey);
        }
        g_variant_unref(value);
        // Writes are queued in the backend; the process may not run a GLib loop to flush them.
        if (ok)
            gio()->g_settings_sync();
        return ok;
    }

    GSettingsSchema *schema;
    GSettings *settings;
};

} // namespace

std::unique_ptr<PointerSettings> openGnome()
{
    return GnomePointerSettings::open();
}

} // namespace pointer_backends
