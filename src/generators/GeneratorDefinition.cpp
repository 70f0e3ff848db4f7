#include "GeneratorDefinition.h"

#include "model/Services.h"

namespace xilan {

void ApplyTextBinding(Services &services, const QString &window, const TextBinding &binding)
{
    // Every change copies the whole text again, also when it equals what the
    // overlay shows; setting it repaints the overlay before returning.
    const Text text = services.GetText(window, binding.input);
    services.SetText(window, binding.overlay, text);
}

} // namespace xilan
