package m;
/// A class in *Markdown*, see [List] and [java.util.Map#get(Object)].
///
/// - one `code`
/// - two [label][List#size()]
///   continued
/// 1. first
/// 2) second
///
/// ```java
/// int x = a < b ? 1 : 2;
/// ```
///
///     indented code
///
/// > quoted _text_ and <b>html</b> and <https://x.org>
/// # Heading
/// Setext
/// ---
/// [def]: https://x.org
public class M {
    /** old */
    /// Nearest wins: {@link #m(int) m} and {@code <T>} and ``a`b``.
    /// @param x the `x` \[escaped\]
    /// @return *it*
    /// @throws IllegalStateException {@inheritDoc}
    public int m(int x) { return x; }
    //// four
    public void n() { }
}
