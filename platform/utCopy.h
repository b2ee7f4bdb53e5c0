#pragma once

/// Tag of the containers' copying constructors and `become` operations: they always copy the
/// elements, whatever value the tag carries.
struct utCopy {};
